#include "framework/painter.h"

#include <QPainter>
#include <QResizeEvent>

#include "framework/colorref.h"
#include "framework/font_text.h"

namespace {

// The sunken one-pixel frame of WS_EX_STATICEDGE: the button shadow along the
// top and left, the highlight along the bottom and right.
constexpr COLORREF kEdgeShadow = 0xA0A0A0;
constexpr COLORREF kEdgeHighlight = 0xFFFFFF;

class PainterWidget : public QWidget {
 public:
  PainterWidget(QWidget* parent, std::shared_ptr<PainterSurface> surface, bool staticEdge)
      : QWidget(parent), m_surface(std::move(surface)), m_staticEdge(staticEdge) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
  }

 protected:
  // Only copies the image (all drawing happened before, on the image), then
  // the frame, which stands for the window's border and so lies over it.
  void paintEvent(QPaintEvent* event) override {
    m_surface->TakePendingSize();
    const QImage& image = m_surface->image;
    QPainter p(this);
    const QRect r = event->rect();
    if (!image.isNull()) p.drawImage(r.topLeft(), image, r);
    if (!m_staticEdge || width() < 1 || height() < 1) return;
    const int right = width() - 1, bottom = height() - 1;
    p.setPen(QColorFromRef(kEdgeShadow));
    p.drawLine(0, 0, right, 0);
    p.drawLine(0, 0, 0, bottom);
    p.setPen(QColorFromRef(kEdgeHighlight));
    p.drawLine(0, bottom, right, bottom);
    p.drawLine(right, 0, right, bottom);
  }

 private:
  std::shared_ptr<PainterSurface> m_surface;
  bool m_staticEdge;
};

}  // namespace

void PainterSurface::TakePendingSize() {
  if (!sizePending) return;
  sizePending = false;
  image = QImage(pendingSize, QImage::Format_RGB32);
  image.fill(QColorFromRef(pendingBackground));
}

CVWnd_Painter::CVWnd_Painter()
    : m_surface(std::make_shared<PainterSurface>()),
      m_image(m_surface, &m_surface->image),
      m_dc(m_image.get()) {}

void CVWnd_Painter::FitToWidget(COLORREF background) {
  QWidget* w = Widget();
  const QSize want = w ? w->size() : QSize();
  if (want.isEmpty()) {
    m_surface->sizePending = false;
    *m_image = QImage();
    return;
  }
  m_surface->TakePendingSize();
  if (m_image->size() == want) return;
  QImage fresh(want, QImage::Format_RGB32);
  fresh.fill(QColorFromRef(background));
  if (!m_image->isNull()) {
    QPainter p(&fresh);
    p.drawImage(0, 0, *m_image);
  }
  *m_image = std::move(fresh);
}

void CVWnd_Painter::FollowResize(COLORREF background) {
  QWidget* w = Widget();
  PainterSurface& surface = *m_surface;
  // Only a change of colour between two such resizes needs the image made:
  // the part the first colour filled keeps it.
  const bool sameFill = !surface.sizePending || surface.pendingBackground == background;
  if (w && !w->size().isEmpty() && surface.image.isNull() && sameFill) {
    surface.sizePending = true;
    surface.pendingSize = w->size();
    surface.pendingBackground = background;
    return;
  }
  FitToWidget(background);
}

void CVWnd_Painter::ShowPicture(const QImage& picture) {
  m_surface->sizePending = false;
  *m_image = picture;
}

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_painter, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_painter")

rg_painter::rg_painter() { ReplaceWindowObject(std::make_unique<CVWnd_Painter>()); }

CVWnd_Painter* rg_painter::Wnd() const { return m_window->WndAs<CVWnd_Painter>(); }

int rg_painter::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_painter, source)
  CopyWinControl(src);
  m_buffered = src.m_buffered;
  return 1;
}

void rg_painter::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteInt32(m_buffered);
}

void rg_painter::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t buffered;
  if (s.ReadInt32(buffered)) m_buffered = buffered;
}

QWidget* rg_painter::CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) {
  CVWnd_Painter* wnd = Wnd();
  if (!wnd) return nullptr;
  return new PainterWidget(parent, wnd->Surface(), (params.exStyle & qzu_win::kWsExStaticEdge) != 0);
}

void rg_painter::ApplyFont() {
  CQzuWinControl::ApplyFont();
  if (CVWnd_Painter* wnd = Wnd()) {
    if (m_fontText.IsEmpty()) wnd->DC().SetFont(DefaultControlFont());
    else wnd->DC().SetFontText(m_fontText);
  }
}

void rg_painter::SetFontText(const CWString& description) {
  CQzuWinControl::SetFontText(description);
  if (CVWnd_Painter* wnd = Wnd()) wnd->DC().SetFontText(description);
}

CQzuDC& rg_painter::GetDC() {
  CVWnd_Painter* wnd = Wnd();
  if (!wnd) {
    static CQzuDC nowhere;
    return nowhere;
  }
  const COLORREF back = m_backColour == kDefaultColour ? 0xFFFFFF : m_backColour;
  wnd->FitToWidget(back);
  return wnd->DC();
}

const CQzuDC& rg_painter::MeasuringDC() {
  CVWnd_Painter* wnd = Wnd();
  if (!wnd) {
    static const CQzuDC nowhere;
    return nowhere;
  }
  return wnd->DC();
}

const QImage& rg_painter::GetImage() {
  GetDC();
  static const QImage none;
  return Wnd() ? *Wnd()->Image() : none;
}

void rg_painter::CopyCanvasFrom(rg_painter& canvas) {
  const QImage& picture = canvas.GetImage();
  CVWnd_Painter* wnd = Wnd();
  QWidget* w = GetWidget();
  // A copy of the whole of a canvas as large as this painter is that canvas:
  // its pixels are shared, and neither this image nor a copy is made.
  if (wnd && w && !picture.isNull() && picture.size() == w->size() && picture.format() == QImage::Format_RGB32) {
    wnd->ShowPicture(picture);
    Refresh();
    return;
  }
  CQzuDC& target = GetDC();
  CQzuDC& source = canvas.GetDC();
  target.BitBlt(0, 0, target.Width(), target.Height(), source, 0, 0);
  Refresh();
}

void rg_painter::Refresh() {
  if (QWidget* w = GetWidget()) w->update();
}

void rg_painter::RefreshNow() {
  if (QWidget* w = GetWidget()) w->repaint();
}

bool rg_painter::HandleWindowEvent(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == GetWidget()) {
    const COLORREF back = m_backColour == kDefaultColour ? 0xFFFFFF : m_backColour;
    Wnd()->FollowResize(back);
  }
  return CQzuWinControl::HandleWindowEvent(watched, event);
}

}  // namespace rg_Ombrine_MFCJieMian_base
