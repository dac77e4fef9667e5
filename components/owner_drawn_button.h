#pragma once
// rg_TavelkinAnNiu1, the owner-drawn push button, and rg_TavelkinXuanZhongKuang1,
// the check box: the same class in check mode with other defaults.
//
// The button is a container with three children: a hidden canvas painter
// (101) on which every redraw paints the whole face (background, one-pixel
// border, state image or check glyph, caption lines), a hover-watch timer
// (102, timer id 1000 at 50 ms) and the visible display painter (103), which
// receives each finished picture in one block copy, the mouse, the keyboard
// and the tool tip. Nothing is painted before the shown event nor while
// redraw is disabled.
//
// Visual states: 0 normal, 1 hover, 2 pressed, 3 disabled. Only the owner
// moves a button into or out of state 3; a disabled button raises no click,
// double-click or right-click event (mouse move and key down still come).
// A press (left button down, or left button up on the focused display when no
// press was pending: the second press of a double click) toggles the check
// flag of every button, asks the check-changing event (a result of exactly 1
// undoes the toggle and the click), repaints and raises the click event.
//
// Every redraw and press ends by processing pending window messages, so other
// handlers may run inside RedrawButton, PressButton and every setter.
// UI thread only. Owners write the plain members below directly and then call
// RedrawButton or a setter.
#include <cstdint>
#include <vector>

#include "common/mem.h"
#include "components/button_colours.h"
#include "components/gdiplus_brush_pen.h"
#include "components/gdiplus_graphics.h"
#include "components/gdiplus_image.h"
#include "framework/bitmap_object.h"
#include "framework/painter.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

enum ButtonVisualState : int32_t { kButtonNormal = 0, kButtonHover = 1, kButtonPressed = 2, kButtonDisabled = 3 };
// Check glyphs, in check mode: none (the state image is drawn), as high as the
// client area less the gap, or as high as the caption block.
enum ButtonGlyphStyle : int32_t { kGlyphNone = 0, kGlyphClientHeight = 1, kGlyphCaptionHeight = 2 };
// What DrawButtonBadge draws.
enum ButtonBadgeKind : int32_t { kBadgeUnchecked = 0, kBadgeChecked = 1, kBadgePartial = 2 };
// The state images and their SVG data, by visual state.
enum ButtonImageIndex : int32_t { kImageNormal = 0, kImageHover = 1, kImagePressed = 2, kImageDisabled = 3 };

// PressButton's user data that only shows the pressed look: no toggle, no event.
inline constexpr intptr_t kPressLookOnly = -1;
// A check-changing result that vetoes the toggle and the click.
inline constexpr intptr_t kVetoCheckChange = 1;
// Ids of the children.
inline constexpr int kButtonCanvasId = 101;
inline constexpr int kButtonTimerId = 102;
inline constexpr int kButtonDisplayId = 103;
inline constexpr int kHoverWatchTimerId = 1000;
inline constexpr int kHoverWatchMilliseconds = 50;
// The transparent 100 x 100 PNG the round check glyph is drawn on.
inline constexpr int32_t kCheckGlyphCanvasResource = 514;
inline constexpr char16_t kButtonDefaultFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
// The caption line height is the height of this sample in the canvas font.
inline constexpr char16_t kLineHeightSample[] = u"中aA文";
inline constexpr COLORREF kButtonToolTipColour = 0x008000;
inline constexpr int kButtonToolTipMargin = 3;  // logical pixels

class rg_TavelkinAnNiu1 : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinAnNiu1)
 public:
  // ConstructButton: the members with their defaults, no window.
  rg_TavelkinAnNiu1();
  // DestroyButtonMembers: the receiver is detached first, so that no handler
  // starts while the members go.
  ~rg_TavelkinAnNiu1() override;

  // Only the object itself: the embedded children compare by identity.
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses (0) a source that is not of this object's class or derived from
  // it (a check box refuses a plain button); clears, then copies the window
  // part (shared), the children (their windows shared) and every member but
  // the event slots and the receiver. Bitmaps share their pictures; the GDI+
  // objects are duplicated.
  int CopyFrom(const CQzuObject& source) override;
  // (Reset copies from a newly constructed object of the same class, so a
  // check box resets to check-box defaults.)
  // Empties the texts, SVG data and images.
  void Clear() override;
  // Base members, the three children, then the members in declaration order
  // (the GDI+ objects stream nothing); event slots are not streamed.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 500 x 350 logical pixels, scaled and rounded.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // The caption (the canvas painter's text member); lines are separated by
  // "\r\n". Setting works before the window exists.
  CWString GetButtonText() const;
  void SetButtonText(const CWString& caption);
  // The canvas font from a font description; re-renders the SVG state images
  // (a square image follows the new line height) and repaints.
  void SetButtonFont(const CWString& description);
  // The display painter's tool tip; no repaint.
  void SetButtonToolTip(const CWString& text);
  // Repaints only when the flag changes; raises nothing.
  void SetButtonChecked(int32_t flag);
  // Connects the click event (user data 0); a null handler or receiver clears
  // it. Attaches the listener with a handler, detaches it without.
  void BindButtonClickHandler(CQzuEventSlot<>::Handler handler, const CQzuReceiverRef& receiver);
  // The normal image from the SVG resource `id`, rendered by RenderButtonImage.
  void SetButtonSvgResource(int32_t id);
  // The normal image from the picture resource `id` (BMP, PNG...).
  void SetButtonBitmapResource(int32_t id);

  void RedrawButton();
  // The press; `unused` is ignored, a user data of kPressLookOnly only shows
  // the pressed look. Returns 0.
  int PressButton(intptr_t unused = 0, intptr_t userData = 0);

  // The SVG data rendered through the icon render cache at the image render
  // size times the DPI factor, or, while either render size is 0, as a square
  // of the line height (not scaled again); BMP over the image background when
  // that is non-zero, else PNG. Resets the image draw mode. An empty bitmap
  // when nothing renders.
  rg_Ombrine_base::rg_WeiTuDuiXiangLei RenderButtonImage(const CQzuMem& svg);
  // The check glyph at (x, y), size x size: kind 0 unchecked, 1 checked,
  // 2 partial; hover selects the hover pen. 0 (nothing drawn) for another kind.
  int DrawButtonBadge(int32_t x, int32_t y, int32_t size, int32_t kind, int32_t hover);
  // Appends each line's width and height in the canvas font, adds the line
  // heights and one spacing between lines to `total`; returns the widest width
  // (0 for no lines).
  int MeasureButtonLines(const std::vector<CWString>& lines, std::vector<int>& widths, std::vector<int>& heights,
                         int& total, int spacing);

  // The children, for owners that place focus or read pictures.
  rg_Ombrine_MFCJieMian_base::rg_painter& Canvas() { return m_canvas; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Display() { return m_display; }
  rg_Ombrine_MFCJieMian_base::rg_timer& HoverTimer() { return m_timer; }

  // ---- members, in stream order, with their constructor defaults ----
  int32_t visualState = kButtonNormal;
  int32_t checkMode = 0;  // a checked button draws as pressed
  CWString toolTipText;
  int32_t centred = 1;     // content centred; 0 placed at the left margin
  int32_t roundGlyph = 0;  // round check glyph (antialiased) instead of square
  int32_t glyphStyle = kGlyphNone;
  int32_t checked = 0;
  int32_t reserved = 0;         // copied, compared and streamed only
  int32_t hoverBrightness = 0;  // non-zero: a missing hover image is the normal one this much brighter
  int32_t redrawEnabled = 1;
  rg_Qurix_gdiplus::rg_GPTuXingLei glyphGraphics;
  rg_Qurix_gdiplus::rg_GPTuXiangLei glyphImage;
  rg_Qurix_gdiplus::rg_GPChunSeHuaShuaLei glyphWhiteBrush;
  rg_Qurix_gdiplus::rg_GPChunSeHuaShuaLei glyphRedBrush;
  rg_Qurix_gdiplus::rg_GPHuaBiLei glyphPen;
  int32_t glyphCanvasReady = 0;
  int32_t imageWidth = 0;   // drawn image size; 0 takes the picture's own
  int32_t imageHeight = 0;
  int32_t shown = 0;
  int32_t pressed = 0;  // a press is in progress
  int32_t focused = 0;  // the display painter has the keyboard focus
  int32_t hoverStartX = 0, hoverStartY = 0;    // client position when the hover watch started
  int32_t hoverCursorX = 0, hoverCursorY = 0;  // screen cursor at that moment
  int32_t fontSet = 0;     // SetButtonFont ran: the created handler keeps the font
  int32_t imageFills = 0;  // the state image is stretched over the whole face, nothing else drawn
  int32_t gap = 5;         // logical pixels between image (or glyph) and caption
  int32_t leftMargin = 5;  // logical pixels; the least distance of the content from the left edge
  int32_t centreLines = 1;  // each caption line centred within the widest
  // 0 draws images with their own alpha; any other value is a COLORREF whose
  // pixels are left out (a colour key).
  int32_t imageDrawMode = 0;
  COLORREF parentColour = kColourOfButtonFace;  // what kColourOfParent stands for
  int32_t imageRenderHeight = 0;  // logical pixels
  int32_t imageRenderWidth = 0;
  COLORREF imageBackground = 0;  // non-zero: SVG data is rendered as BMP over it
  int32_t lineHeight = 0;
  CQzuMem svgData[4];
  rg_Ombrine_base::rg_WeiTuDuiXiangLei images[4];
  ButtonColourRow textColours = {0x000000, 0x0000FF, kColourOfNormalState, 0xC0C0C0};
  ButtonColourRow backColours = {0xECECEC, 0xFBF1E5, 0xFBF1E5, kColourOfNormalState};
  ButtonColourRow borderColours = {0xC0C0C0, 0xDB8417, kColourOfNormalState, kColourOfNormalState};

  // Events, raised as handler(receiver, button, user data, arguments...).
  CQzuEventSlot<int, int, int> MouseMoveEvent;  // x, y, key flags; also while disabled
  CQzuEventSlot<> ClickEvent;
  CQzuEventSlot<> DoubleClickEvent;
  CQzuEventSlot<> RightClickEvent;
  CQzuEventSlot<> CheckChangingEvent;       // after the toggle; kVetoCheckChange undoes it
  CQzuEventSlot<int, int> KeyDownEvent;     // virtual-key code, key flags

 protected:
  void CreateChildren() override;

 private:
  // The handlers of the container, the painters and the timer; all return 0.
  static intptr_t OnButtonCreated(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnButtonShown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnButtonHidden(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnButtonResize(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int width, int height);
  static intptr_t OnButtonMouseMove(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                    int keys);
  static intptr_t OnButtonHoverTimer(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnButtonLeftDown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                   int keys);
  static intptr_t OnButtonLeftUp(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                 int keys);
  static intptr_t OnButtonRightDown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                    int keys);
  static intptr_t OnButtonRightUp(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                  int keys);
  static intptr_t OnButtonDoubleClick(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                      int keys);
  static intptr_t OnButtonKeyDown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int key, int keys);
  static intptr_t OnButtonFocusGained(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnButtonFocusLost(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);

  void ConnectSurface(rg_Ombrine_MFCJieMian_base::rg_painter& surface);
  void SetStateUnlessDisabled(int32_t state) {
    if (visualState != kButtonDisabled) visualState = state;
  }
  int MeasureSampleHeight();
  // The state image a redraw of effective state `state` uses; builds the
  // hover image from the normal one when asked to.
  const rg_Ombrine_base::rg_WeiTuDuiXiangLei& PickStateImage(int32_t state);
  void MakeHoverImage();
  void DrawStateImage(const rg_Ombrine_base::rg_WeiTuDuiXiangLei& image, int x, int y, int width, int height);
  bool BuildGlyphCanvas(int32_t size);
  void CopyGlyphCanvas(int32_t x, int32_t y, int32_t size);

  CQzuReceiverRef m_receiver;
  int32_t m_destroying = 0;
  rg_Ombrine_MFCJieMian_base::rg_painter m_canvas;
  rg_Ombrine_MFCJieMian_base::rg_timer m_timer;
  rg_Ombrine_MFCJieMian_base::rg_painter m_display;
};

// ConstructCheckBox: a button in check mode with glyph style 2, every
// background and border the parent colour, content at the left edge.
class rg_TavelkinXuanZhongKuang1 : public rg_TavelkinAnNiu1 {
  QZU_DECLARE_CLASS(rg_TavelkinXuanZhongKuang1)
 public:
  rg_TavelkinXuanZhongKuang1();
  // 189 x 36 logical pixels, scaled and rounded.
  int DefaultWidth() const override;
  int DefaultHeight() const override;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
