#pragma once
// CQzuDC: GDI-style drawing on an image. Colours are COLORREF; the device
// keeps a pen, a brush, a font, a text colour, a background colour and mode,
// and a current position, and follows GDI's pixel rules: rectangles, fills
// and ellipses leave out their right and bottom edge, a line leaves out its
// end point, nothing is antialiased. The Aa* operations draw antialiased,
// for the places where GDI+ draws.
#include <QFont>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

#include "common/wstring.h"
#include "framework/win_defs.h"

// Pen styles and background modes, with their GDI values.
constexpr int kPsSolid = 0;
constexpr int kPsDash = 1;
constexpr int kPsDot = 2;
constexpr int kPsNull = 5;
constexpr int kBkTransparent = 1;
constexpr int kBkOpaque = 2;

// DrawText format flags, with their GDI values.
constexpr uint32_t kDtLeft = 0x0;
constexpr uint32_t kDtCenter = 0x1;
constexpr uint32_t kDtRight = 0x2;
constexpr uint32_t kDtVCenter = 0x4;
constexpr uint32_t kDtBottom = 0x8;
constexpr uint32_t kDtWordBreak = 0x10;
constexpr uint32_t kDtSingleLine = 0x20;
constexpr uint32_t kDtNoClip = 0x100;
constexpr uint32_t kDtCalcRect = 0x400;
constexpr uint32_t kDtNoPrefix = 0x800;
constexpr uint32_t kDtEndEllipsis = 0x8000;

// A rectangle as GDI writes it: right and bottom are outside.
struct QzuRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

class CQzuDC {
 public:
  explicit CQzuDC(QImage* target = nullptr);

  void SetTarget(QImage* target) { m_target = target; }
  QImage* Target() const { return m_target; }
  bool CanDraw() const { return m_target && !m_target->isNull(); }
  int Width() const { return m_target ? m_target->width() : 0; }
  int Height() const { return m_target ? m_target->height() : 0; }

  void SetPen(COLORREF colour, int width = 1, int style = kPsSolid);
  void SetBrush(COLORREF colour);
  void SetHollowBrush();
  COLORREF GetPenColour() const { return m_penColour; }
  COLORREF GetBrushColour() const { return m_brushColour; }
  // A QFont has no angle: text in it is written level.
  void SetFont(const QFont& font) {
    m_font = font;
    m_escapement = 0;
  }
  // The described font; TextOut turns its text by the description's angle.
  void SetFontText(const CWString& description);
  int GetEscapement() const { return m_escapement; }
  const QFont& GetFont() const { return m_font; }
  void SetTextColour(COLORREF colour) { m_textColour = colour; }
  COLORREF GetTextColour() const { return m_textColour; }
  void SetBkColour(COLORREF colour) { m_bkColour = colour; }
  COLORREF GetBkColour() const { return m_bkColour; }
  void SetBkMode(int mode) { m_bkMode = mode; }
  int GetBkMode() const { return m_bkMode; }

  void Clear(COLORREF colour);
  void FillSolidRect(const QzuRect& r, COLORREF colour);
  // Fills with the current brush (nothing with the hollow brush).
  void FillRect(const QzuRect& r);
  // One-pixel frame along the inside of the rectangle.
  void FrameRect(const QzuRect& r, COLORREF colour);
  // Outline with the pen, inside with the brush.
  void Rectangle(const QzuRect& r);
  void RoundRect(const QzuRect& r, int ellipseWidth, int ellipseHeight);
  void Ellipse(const QzuRect& r);
  void Polygon(const std::vector<QPoint>& points);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void SetPixel(int x, int y, COLORREF colour);
  COLORREF GetPixel(int x, int y) const;  // 0xFFFFFFFF outside

  // Text in the device's font and text colour; an opaque background mode
  // fills the text's box with the background colour first.
  QSize GetTextExtent(const CWString& text) const;
  // Written along the font's escapement (counter-clockwise, tenths of a
  // degree) around (x, y), the text's top left corner, as GDI turns it;
  // DrawText and the measures stay level.
  void TextOut(int x, int y, const CWString& text);
  // Returns the height of the text; with kDtCalcRect only measures and
  // sets rect's right and bottom.
  int DrawText(const CWString& text, QzuRect& rect, uint32_t format);

  // Block copies from another device (or image).
  void BitBlt(int x, int y, int width, int height, const CQzuDC& source, int sx, int sy);
  void StretchBlt(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw, int sh);
  // Pixels of `key` are left out.
  void TransparentBlt(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw, int sh,
                      COLORREF key);
  // Source over, with a constant alpha (0..255) and the source's own alpha
  // when `perPixel` is set.
  void AlphaBlend(int x, int y, int width, int height, const QImage& source, int sx, int sy, int sw, int sh,
                  int constantAlpha, bool perPixel);
  void DrawImage(int x, int y, const QImage& image, int width = -1, int height = -1);

  // Antialiased drawing with ARGB colours and real coordinates.
  void AaFillEllipse(double x, double y, double width, double height, uint32_t argb);
  void AaDrawEllipse(double x, double y, double width, double height, uint32_t argb, double penWidth);
  void AaDrawLine(double x1, double y1, double x2, double y2, uint32_t argb, double penWidth);
  void AaFillPolygon(const std::vector<QPointF>& points, uint32_t argb);
  void AaClear(uint32_t argb);

 private:
  void FillBox(int left, int top, int right, int bottom, COLORREF colour);
  void PlotLine(int x0, int y0, int x1, int y1);

  QImage* m_target;
  COLORREF m_penColour = 0;
  int m_penWidth = 1;
  int m_penStyle = kPsSolid;
  COLORREF m_brushColour = 0xFFFFFF;
  bool m_hollowBrush = false;
  QFont m_font;
  int m_escapement = 0;
  COLORREF m_textColour = 0;
  COLORREF m_bkColour = 0xFFFFFF;
  int m_bkMode = kBkOpaque;
  QPoint m_position;
};
