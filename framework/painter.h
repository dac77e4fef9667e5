#pragma once
// rg_painter: a control that shows an image. Owner-drawn components keep two:
// a hidden canvas on which they draw synchronously through its device
// (GetDC), and a visible display whose paint handler only copies its image to
// the screen; each redraw ends with CopyCanvasFrom, which shares the canvas's
// pixels when both have one size. The image follows the control's size (one
// nothing was drawn on yet is made when first needed, holding the background
// it would have had); the device (pen, brush, font, colours) lives with the
// native window, so copies of the control share it. A painter created with
// WS_EX_STATICEDGE shows a sunken one-pixel frame over the outermost pixels
// of its picture (its client area stays the whole control).
#include <QImage>

#include <memory>

#include "framework/drawing_dc.h"
#include "framework/win_control.h"

// The painter's image and the first size it has still to take (see
// CVWnd_Painter::FollowResize); shared by the wrapper and the widget.
struct PainterSurface {
  QImage image;
  bool sizePending = false;
  QSize pendingSize;
  COLORREF pendingBackground = 0;
  // Gives an image that was never made the size and background of the last
  // resize, as an immediate fit would have.
  void TakePendingSize();
};

class CVWnd_Painter : public CVWnd {
 public:
  CVWnd_Painter();
  CQzuDC& DC() { return m_dc; }
  // Shared with the widget, which may outlive this wrapper for a moment. Null
  // until the image is first drawn on, copied into or shown.
  const std::shared_ptr<QImage>& Image() const { return m_image; }
  const std::shared_ptr<PainterSurface>& Surface() const { return m_surface; }
  // Makes the image as large as the widget, keeping what it shows.
  void FitToWidget(COLORREF background);
  // The widget was resized: the image follows. An image that was never made
  // would only hold the background, so it is made when first needed, with
  // the background the resize gave it (a first drawing covers it anyway).
  void FollowResize(COLORREF background);
  // The whole image becomes `picture` (of the widget's size), sharing its
  // pixels until one of the two is drawn on.
  void ShowPicture(const QImage& picture);

 private:
  std::shared_ptr<PainterSurface> m_surface;
  std::shared_ptr<QImage> m_image;  // the surface's image
  CQzuDC m_dc;
};

namespace rg_Ombrine_MFCJieMian_base {

class rg_painter : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_painter)

 public:
  rg_painter();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Also gives the device the font at once, window or not.
  void SetFontText(const CWString& description);

  // The drawing device on the control's image (sized to the client area;
  // a device without an image draws nothing but still measures text).
  CQzuDC& GetDC();
  // The device as it is, for measuring text in its font: unlike GetDC it
  // does not size (allocate and fill) the image first.
  const CQzuDC& MeasuringDC();
  const QImage& GetImage();
  // Copies the canvas's image onto this painter's image in one block and
  // repaints (the display half of the canvas/display pair). A canvas of the
  // display's size is shared rather than copied (copy on write).
  void CopyCanvasFrom(rg_painter& canvas);
  // Repaint later / at once.
  void Refresh();
  void RefreshNow();
  // Kept for the owners that switch it; drawing is always buffered here.
  void SetBuffered(bool buffered) { m_buffered = buffered ? 1 : 0; }

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void ApplyFont() override;
  bool HandleWindowEvent(QObject* watched, QEvent* event) override;
  CVWnd_Painter* Wnd() const;

  int32_t m_buffered = 1;
};

}  // namespace rg_Ombrine_MFCJieMian_base
