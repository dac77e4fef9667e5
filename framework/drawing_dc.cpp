#include "framework/drawing_dc.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cstdlib>

#include "framework/colorref.h"
#include "framework/font_text.h"
#include "framework/qt_text.h"

CQzuDC::CQzuDC(QImage* target) : m_target(target), m_font(DefaultControlFont()) {}

void CQzuDC::SetPen(COLORREF colour, int width, int style) {
  m_penColour = colour;
  m_penWidth = width < 1 ? 1 : width;
  m_penStyle = style;
}

void CQzuDC::SetBrush(COLORREF colour) {
  m_brushColour = colour;
  m_hollowBrush = false;
}

void CQzuDC::SetHollowBrush() { m_hollowBrush = true; }

void CQzuDC::SetFontText(const CWString& description) {
  const QzuFontFields described = ReadFontFields(description);
  m_font = QFontFromFields(described);
  m_escapement = described.escapement;
}

void CQzuDC::FillBox(int left, int top, int right, int bottom, COLORREF colour) {
  if (!CanDraw() || right <= left || bottom <= top) return;
  QPainter p(m_target);
  p.fillRect(QRect(left, top, right - left, bottom - top), QColorFromRef(colour));
}

void CQzuDC::Clear(COLORREF colour) {
  if (CanDraw()) m_target->fill(QColorFromRef(colour));
}

void CQzuDC::FillSolidRect(const QzuRect& r, COLORREF colour) { FillBox(r.left, r.top, r.right, r.bottom, colour); }

void CQzuDC::FillRect(const QzuRect& r) {
  if (!m_hollowBrush) FillBox(r.left, r.top, r.right, r.bottom, m_brushColour);
}

void CQzuDC::FrameRect(const QzuRect& r, COLORREF colour) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  FillBox(r.left, r.top, r.right, r.top + 1, colour);
  FillBox(r.left, r.bottom - 1, r.right, r.bottom, colour);
  FillBox(r.left, r.top, r.left + 1, r.bottom, colour);
  FillBox(r.right - 1, r.top, r.right, r.bottom, colour);
}

void CQzuDC::Rectangle(const QzuRect& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const bool pen = m_penStyle != kPsNull;
  const int w = pen ? m_penWidth : 0;
  if (!m_hollowBrush) FillBox(r.left + w, r.top + w, r.right - w, r.bottom - w, m_brushColour);
  if (!pen) return;
  // The pen stays inside the rectangle, so the outline ends one pixel
  // before right and bottom as GDI draws it.
  FillBox(r.left, r.top, r.right, r.top + w, m_penColour);
  FillBox(r.left, r.bottom - w, r.right, r.bottom, m_penColour);
  FillBox(r.left, r.top, r.left + w, r.bottom, m_penColour);
  FillBox(r.right - w, r.top, r.right, r.bottom, m_penColour);
}

namespace {

QPen MakePen(COLORREF colour, int width, int style) {
  if (style == kPsNull) return QPen(Qt::NoPen);
  QPen pen(QColorFromRef(colour));
  pen.setWidth(width <= 1 ? 0 : width);  // 0: cosmetic one-pixel pen
  pen.setStyle(style == kPsDash ? Qt::DashLine : style == kPsDot ? Qt::DotLine : Qt::SolidLine);
  pen.setJoinStyle(Qt::MiterJoin);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace

void CQzuDC::RoundRect(const QzuRect& r, int ellipseWidth, int ellipseHeight) {
  if (!CanDraw() || r.right - r.left < 2 || r.bottom - r.top < 2) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(MakePen(m_penColour, m_penWidth, m_penStyle));
  p.setBrush(m_hollowBrush ? QBrush(Qt::NoBrush) : QBrush(QColorFromRef(m_brushColour)));
  p.drawRoundedRect(QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1), ellipseWidth / 2.0,
                    ellipseHeight / 2.0);
}

void CQzuDC::Ellipse(const QzuRect& r) {
  if (!CanDraw() || r.right - r.left < 2 || r.bottom - r.top < 2) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(MakePen(m_penColour, m_penWidth, m_penStyle));
  p.setBrush(m_hollowBrush ? QBrush(Qt::NoBrush) : QBrush(QColorFromRef(m_brushColour)));
  p.drawEllipse(QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1));
}

void CQzuDC::Polygon(const std::vector<QPoint>& points) {
  if (!CanDraw() || points.size() < 2) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(MakePen(m_penColour, m_penWidth, m_penStyle));
  p.setBrush(m_hollowBrush ? QBrush(Qt::NoBrush) : QBrush(QColorFromRef(m_brushColour)));
  p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void CQzuDC::MoveTo(int x, int y) { m_position = QPoint(x, y); }

void CQzuDC::PlotLine(int x0, int y0, int x1, int y1) {
  // Bresenham without the last point: GDI lines leave out their end.
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  const QRgb rgb = QColorFromRef(m_penColour).rgb();
  int step = 0;
  while (!(x0 == x1 && y0 == y1)) {
    const bool dashOn = m_penStyle == kPsDash ? (step % 9) < 6 : m_penStyle == kPsDot ? (step % 2) == 0 : true;
    if (dashOn && x0 >= 0 && y0 >= 0 && x0 < m_target->width() && y0 < m_target->height())
      m_target->setPixel(x0, y0, rgb);
    ++step;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void CQzuDC::LineTo(int x, int y) {
  if (CanDraw() && m_penStyle != kPsNull) {
    if (m_penWidth <= 1) {
      if (m_target->format() != QImage::Format_RGB32 && m_target->format() != QImage::Format_ARGB32 &&
          m_target->format() != QImage::Format_ARGB32_Premultiplied) {
        QPainter p(m_target);
        p.setPen(MakePen(m_penColour, 1, m_penStyle));
        p.drawLine(m_position, QPoint(x, y));
      } else {
        PlotLine(m_position.x(), m_position.y(), x, y);
      }
    } else {
      QPainter p(m_target);
      p.setPen(MakePen(m_penColour, m_penWidth, m_penStyle));
      p.drawLine(m_position, QPoint(x, y));
    }
  }
  m_position = QPoint(x, y);
}

void CQzuDC::SetPixel(int x, int y, COLORREF colour) {
  if (CanDraw() && x >= 0 && y >= 0 && x < m_target->width() && y < m_target->height())
    m_target->setPixelColor(x, y, QColorFromRef(colour));
}

COLORREF CQzuDC::GetPixel(int x, int y) const {
  if (!CanDraw() || x < 0 || y < 0 || x >= m_target->width() || y >= m_target->height()) return 0xFFFFFFFFu;
  return RefFromQColor(m_target->pixelColor(x, y));
}

QSize CQzuDC::GetTextExtent(const CWString& text) const {
  const QFontMetrics fm(m_font);
  const QString s = ToQString(text);
  return QSize(fm.horizontalAdvance(s), fm.height());
}

void CQzuDC::TextOut(int x, int y, const CWString& text) {
  if (!CanDraw()) return;
  const QFontMetrics fm(m_font);
  const QString s = ToQString(text);
  QPainter p(m_target);
  p.setFont(m_font);
  p.translate(x, y);
  // Qt turns clockwise where GDI's escapement turns counter-clockwise.
  if (m_escapement != 0) p.rotate(-m_escapement / 10.0);
  if (m_bkMode == kBkOpaque) p.fillRect(QRect(0, 0, fm.horizontalAdvance(s), fm.height()), QColorFromRef(m_bkColour));
  p.setPen(QColorFromRef(m_textColour));
  p.drawText(0, fm.ascent(), s);
}

int CQzuDC::DrawText(const CWString& text, QzuRect& rect, uint32_t format) {
  QString s = ToQString(text);
  const QFontMetrics fm(m_font);
  int flags = 0;
  if (format & kDtCenter) flags |= Qt::AlignHCenter;
  else if (format & kDtRight) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  if (format & kDtSingleLine) {
    flags |= Qt::TextSingleLine;
    if (format & kDtVCenter) flags |= Qt::AlignVCenter;
    else if (format & kDtBottom) flags |= Qt::AlignBottom;
    else flags |= Qt::AlignTop;
  } else {
    flags |= Qt::AlignTop;
    if (format & kDtWordBreak) flags |= Qt::TextWordWrap;
  }
  flags |= (format & kDtNoPrefix) ? 0 : Qt::TextShowMnemonic;
  const QRect box(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if ((format & kDtEndEllipsis) && (format & kDtSingleLine)) s = fm.elidedText(s, Qt::ElideRight, box.width());
  if (format & kDtCalcRect) {
    if (format & kDtSingleLine) {
      // One line measures by its advance, as GDI does.
      QString shown = s;
      if (!(format & kDtNoPrefix)) shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QChar(1), QLatin1Char('&'));
      rect.right = rect.left + fm.horizontalAdvance(shown);
      rect.bottom = rect.top + fm.height();
      return fm.height();
    }
    const int width = (format & kDtWordBreak) && box.width() > 0 ? box.width() : 100000;
    const QRect need = fm.boundingRect(QRect(rect.left, rect.top, width, 100000), flags, s);
    rect.right = rect.left + need.width();
    rect.bottom = rect.top + need.height();
    return need.height();
  }
  if (!CanDraw()) return 0;
  QPainter p(m_target);
  p.setFont(m_font);
  if (!(format & kDtNoClip)) p.setClipRect(box);
  QRect used;
  if (m_bkMode == kBkOpaque) {
    used = fm.boundingRect(box, flags, s);
    p.fillRect(used, QColorFromRef(m_bkColour));
  }
  p.setPen(QColorFromRef(m_textColour));
  p.drawText(box, flags, s, &used);
  return used.height();
}

void CQzuDC::BitBlt(int x, int y, int width, int height, const CQzuDC& source, int sx, int sy) {
  if (!CanDraw() || !source.CanDraw() || width <= 0 || height <= 0) return;
  QPainter p(m_target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(x, y), *source.m_target, QRect(sx, sy, width, height));
}

void CQzuDC::StretchBlt(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw, int sh) {
  if (!CanDraw() || source.isNull() || width <= 0 || height <= 0) return;
  QPainter p(m_target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QRect(x, y, width, height), source, QRect(sx, sy, sw, sh));
}

void CQzuDC::TransparentBlt(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw,
                            int sh, COLORREF key) {
  if (!CanDraw() || source.isNull() || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) return;
  QImage part = source.copy(sx, sy, sw, sh).convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = QColorFromRef(key).rgb() & 0xFFFFFF;
  for (int row = 0; row < part.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(part.scanLine(row));
    for (int col = 0; col < part.width(); ++col)
      line[col] = (line[col] & 0xFFFFFF) == keyRgb ? 0 : (line[col] | 0xFF000000u);
  }
  QPainter p(m_target);
  p.drawImage(QRect(x, y, width, height), part);
}

void CQzuDC::AlphaBlend(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw, int sh,
                        int constantAlpha, bool perPixel) {
  if (!CanDraw() || source.isNull() || width <= 0 || height <= 0) return;
  QImage part = source.copy(sx, sy, sw, sh);
  if (!perPixel) part = part.convertToFormat(QImage::Format_RGB32);
  QPainter p(m_target);
  p.setOpacity(constantAlpha / 255.0);
  p.drawImage(QRect(x, y, width, height), part);
}

void CQzuDC::DrawImage(int x, int y, const QImage& image, int width, int height) {
  if (!CanDraw() || image.isNull()) return;
  QPainter p(m_target);
  p.drawImage(QRect(x, y, width < 0 ? image.width() : width, height < 0 ? image.height() : height), image);
}

void CQzuDC::AaFillEllipse(double x, double y, double width, double height, uint32_t argb) {
  if (!CanDraw()) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColorFromArgb(argb));
  p.drawEllipse(QRectF(x, y, width, height));
}

void CQzuDC::AaDrawEllipse(double x, double y, double width, double height, uint32_t argb, double penWidth) {
  if (!CanDraw()) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColorFromArgb(argb), penWidth));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(x, y, width, height));
}

void CQzuDC::AaDrawLine(double x1, double y1, double x2, double y2, uint32_t argb, double penWidth) {
  if (!CanDraw()) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColorFromArgb(argb), penWidth));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void CQzuDC::AaFillPolygon(const std::vector<QPointF>& points, uint32_t argb) {
  if (!CanDraw() || points.size() < 3) return;
  QPainter p(m_target);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColorFromArgb(argb));
  p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void CQzuDC::AaClear(uint32_t argb) {
  if (CanDraw()) m_target->fill(QColorFromArgb(argb));
}
