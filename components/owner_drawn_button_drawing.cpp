// The owner-drawn button's face: the redraw, the check glyphs, caption
// measuring and the state images.
#include "components/owner_drawn_button.h"

#include <algorithm>

#include "common/dpi.h"
#include "components/enhanced_bitmap.h"
#include "components/icon_render_cache.h"
#include "components/svg_render.h"
#include "framework/message_pump.h"
#include "platform/resource_loader.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_base::rg_WeiTuDuiXiangLei;

namespace {

// The SVG renderer reads a background as 0xRRGGBBAA; the button keeps a
// COLORREF, rendered over opaquely.
uint32_t SvgBackgroundFromColorref(COLORREF c) {
  return ((c & 0xFF) << 24) | (((c >> 8) & 0xFF) << 16) | (((c >> 16) & 0xFF) << 8) | 0xFF;
}

uint32_t OpaqueArgb(COLORREF c) { return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The glyph is drawn this far inside the GDI+ canvas, so that the
// antialiased rim of its outline is not cut off at the canvas edge.
constexpr int kGlyphCanvasPad = 1;

}  // namespace

int rg_TavelkinAnNiu1::MeasureSampleHeight() {
  return m_canvas.MeasuringDC().GetTextExtent(kLineHeightSample).height();
}

int rg_TavelkinAnNiu1::MeasureButtonLines(const std::vector<CWString>& lines, std::vector<int>& widths,
                                          std::vector<int>& heights, int& total, int spacing) {
  if (lines.empty()) return 0;
  const CQzuDC& dc = m_canvas.GetDC();
  int widest = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const QSize extent = dc.GetTextExtent(lines[i]);
    widths.push_back(extent.width());
    heights.push_back(extent.height());
    widest = std::max(widest, extent.width());
    if (i > 0) total += spacing;
    total += extent.height();
  }
  return widest;
}

rg_WeiTuDuiXiangLei rg_TavelkinAnNiu1::RenderButtonImage(const CQzuMem& svg) {
  imageDrawMode = 0;
  int32_t width, height, noDpi;
  if (imageRenderWidth != 0 && imageRenderHeight != 0) {
    width = imageRenderWidth;
    height = imageRenderHeight;
    noDpi = 0;
  } else {
    if (lineHeight == 0) lineHeight = MeasureSampleHeight();
    width = height = lineHeight;
    noDpi = 1;
  }
  if (svg.IsEmpty()) return rg_WeiTuDuiXiangLei();
  const int32_t format =
      imageBackground != 0 ? rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatBmp : rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatPng;
  return LoadSvgIconBitmap(0, svg, width, height, format, noDpi,
                           imageBackground ? SvgBackgroundFromColorref(imageBackground) : 0);
}

void rg_TavelkinAnNiu1::MakeHoverImage() {
  rg_Ombrine_windows_zjwtchl::rg_ZengJiangWeiTuLei normal, brighter;
  const CQzuMem bytes = images[kImageNormal].ToPngBytes();
  if (!normal.BitmapLoadImage(bytes.GetData(), bytes.GetSize())) return;
  BitmapAdjustBrightness(normal, hoverBrightness, brighter);
  if (!brighter.IsEmpty()) images[kImageHover] = BitmapFromBuffer(CQzuMem(brighter.FileBytes(), brighter.FileSize()));
  DestroyEnhancedBitmap(normal);
  DestroyEnhancedBitmap(brighter);
}

const rg_WeiTuDuiXiangLei& rg_TavelkinAnNiu1::PickStateImage(int32_t state) {
  int32_t index = kImageDisabled;
  if (state <= kButtonNormal) {
    index = kImageNormal;
  } else if (state == kButtonHover) {
    if (hoverBrightness != 0 && images[kImageHover].IsEmpty() && !images[kImageNormal].IsEmpty()) MakeHoverImage();
    index = kImageHover;
  } else if (state == kButtonPressed) {
    index = kImagePressed;
  }
  if (images[index].GetWidth() == 0) index = kImageNormal;
  return images[index];
}

void rg_TavelkinAnNiu1::DrawStateImage(const rg_WeiTuDuiXiangLei& image, int x, int y, int width, int height) {
  const QImage& picture = image.GetImage();
  if (picture.isNull()) return;
  CQzuDC& dc = m_canvas.GetDC();
  // A colour key leaves out its pixels; otherwise the picture's own alpha.
  if (imageDrawMode != 0)
    dc.TransparentBlt(x, y, width, height, picture, 0, 0, picture.width(), picture.height(),
                      static_cast<COLORREF>(imageDrawMode));
  else
    dc.AlphaBlend(x, y, width, height, picture, 0, 0, picture.width(), picture.height(), 255,
                  picture.hasAlphaChannel());
}

void rg_TavelkinAnNiu1::RedrawButton() {
  if (!shown || !redrawEnabled || !m_canvas.HasWindow() || !m_display.HasWindow()) return;
  const int32_t state = EffectiveButtonState(visualState, checkMode, checked);
  const bool hover = visualState == kButtonHover;
  const ButtonColours colours = ResolveButtonColours(textColours, backColours, borderColours, state, parentColour);
  CQzuDC& dc = m_canvas.GetDC();
  const int width = dc.Width();
  const int height = dc.Height();
  dc.SetBkColour(colours.background);
  dc.Clear(colours.background);
  dc.SetTextColour(colours.text);

  // The state image, unless a check glyph takes its place.
  const rg_WeiTuDuiXiangLei* image = nullptr;
  if (!(checkMode && glyphStyle != kGlyphNone)) image = &PickStateImage(state);
  const int imageContentWidth = image ? (imageWidth != 0 ? imageWidth : image->GetWidth()) : 0;

  if (image && imageFills) {
    DrawStateImage(*image, 0, 0, width, height);
  } else {
    dc.SetPen(colours.border);
    dc.SetHollowBrush();
    dc.Rectangle({0, 0, width, height});

    const std::vector<CWString> lines = GetButtonText().Split(u"\r\n");
    const int spacing = ScaleForDpi(2);
    std::vector<int> lineWidths, lineHeights;
    int total = 0;
    const int widest = MeasureButtonLines(lines, lineWidths, lineHeights, total, spacing);
    const int gapPixels = ScaleForDpi(gap);
    const int margin = ScaleForDpi(leftMargin);

    const bool glyph = checkMode && (glyphStyle == kGlyphClientHeight || glyphStyle == kGlyphCaptionHeight);
    int content = imageContentWidth;
    if (checkMode && glyphStyle == kGlyphClientHeight) content = height - gapPixels;
    else if (checkMode && glyphStyle == kGlyphCaptionHeight) content = total != 0 ? total : MeasureSampleHeight();

    int x = margin;
    if (content != 0) {
      if (centred) x = std::max((width - (widest > 0 ? gapPixels : 0) - widest - content) / 2, margin);
      if (glyph) {
        DrawButtonBadge(x, (height - content) / 2, content, checked ? kBadgeChecked : kBadgeUnchecked, hover);
      } else if (image) {
        const int drawWidth = imageWidth != 0 ? imageWidth : image->GetWidth();
        const int drawHeight = imageHeight != 0 ? imageHeight : image->GetHeight();
        DrawStateImage(*image, x, (height - drawHeight) / 2, drawWidth, drawHeight);
      }
    }

    if (widest != 0) {
      int captionX = margin;
      if (content != 0) captionX = x + content + gapPixels;
      else if (centred) captionX = std::max((width - widest) / 2, margin);
      int y = (height - total) / 2;
      dc.SetBkMode(kBkTransparent);
      for (size_t i = 0; i < lines.size(); ++i) {
        const int indent = centreLines ? (widest - lineWidths[i]) / 2 : 0;
        dc.TextOut(captionX + indent, y, lines[i]);
        y += lineHeights[i] + spacing;
      }
    }
  }

  m_display.CopyCanvasFrom(m_canvas);
  // The new look reaches the screen before the caller goes on with long work.
  QtPumpPendingMessages();
}

bool rg_TavelkinAnNiu1::BuildGlyphCanvas(int32_t size) {
  const int32_t needed = size + 2 * kGlyphCanvasPad;
  if (glyphCanvasReady && glyphImage.Handle() && glyphImage.Handle()->width() >= needed &&
      glyphImage.Handle()->height() >= needed)
    return true;
  if (!glyphCanvasReady) {
    // The built-in transparent canvas; a blank one of its size when missing.
    if (!glyphImage.LoadFromMemory(LoadResourceBytes(kCheckGlyphCanvasResource), false)) glyphImage.CreateBlank(100, 100);
    glyphWhiteBrush.CreateSolidFill(0xFFFFFFFF);
    glyphRedBrush.CreateSolidFill(0xFFFF6666);
  }
  // A glyph larger than the canvas gets a canvas of its own size.
  if (glyphImage.Handle() && (glyphImage.Handle()->width() < needed || glyphImage.Handle()->height() < needed))
    glyphImage.CreateBlank(std::max(needed, glyphImage.Handle()->width()), std::max(needed, glyphImage.Handle()->height()));
  if (!glyphImage.Handle() || !glyphGraphics.FromImage(glyphImage)) return false;
  glyphGraphics.SetSmoothingMode(rg_Qurix_gdiplus::kGpSmoothingHighQuality);
  glyphCanvasReady = 1;
  return true;
}

void rg_TavelkinAnNiu1::CopyGlyphCanvas(int32_t x, int32_t y, int32_t size) {
  CQzuMem bytes;
  if (!rg_Qurix_gdiplus::SaveImageToMemory(glyphImage, bytes, 0, nullptr)) return;
  const rg_WeiTuDuiXiangLei canvas = BitmapFromBuffer(bytes);
  const int side = size + 2 * kGlyphCanvasPad;
  m_canvas.GetDC().StretchBlt(x - kGlyphCanvasPad, y - kGlyphCanvasPad, side, side, canvas.GetImage(), 0, 0, side, side);
}

int rg_TavelkinAnNiu1::DrawButtonBadge(int32_t x, int32_t y, int32_t size, int32_t kind, int32_t hover) {
  if (kind < kBadgeUnchecked || kind > kBadgePartial) return 0;
  if (size <= 0) return 1;
  const bool round = roundGlyph && BuildGlyphCanvas(size);
  const int g = ScaleForDpi(2);
  CQzuDC& dc = m_canvas.GetDC();
  const COLORREF background = dc.GetBkColour();
  dc.SetBrush(0xFFFFFF);
  dc.SetPen(hover ? 0x6666FF : 0xFF0000);

  // The round glyph is drawn antialiased on the GDI+ canvas, cleared to the
  // face's background, and its square is copied to the glyph's place.
  const double p = kGlyphCanvasPad;
  if (round) {
    glyphPen.CreatePen(hover ? 0xFFFF6666 : 0xFF0000FF, 1.0);
    glyphGraphics.Clear(OpaqueArgb(background));
    glyphGraphics.DrawEllipse(glyphPen, p, p, size, size);
    glyphGraphics.FillEllipse(glyphWhiteBrush, p + 1, p + 1, size - 2, size - 2);
    if (kind != kBadgeChecked) CopyGlyphCanvas(x, y, size);
  } else {
    dc.Rectangle({x, y, x + size, y + size});
  }

  if (kind == kBadgeChecked) {
    dc.SetPen(background);
    dc.SetBrush(0x6666FF);
    if (round) {
      const int inset = g + ScaleForDpi(1);
      glyphGraphics.FillEllipse(glyphRedBrush, p + inset, p + inset, size - 2 * inset, size - 2 * inset);
      CopyGlyphCanvas(x, y, size);
    } else {
      dc.Rectangle({x + g, y + g, x + size - g, y + size - g});
    }
  } else if (kind == kBadgePartial) {
    dc.SetPen(background);
    dc.SetBrush(0x0000FF);
    dc.Polygon({QPoint(x + g, y + g - 1), QPoint(x + g, y + size - g - 1), QPoint(x + size - g, y + size - g - 1)});
  }
  return 1;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
