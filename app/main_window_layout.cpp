// The main window's layout: a fixed top (banner, two rows of toggles, the
// action buttons), the editors side by side in the rest, the batch group
// under them; and the option panels parked over the banner's right part.
// Everything is in device pixels; sizes are window sizes.
#include "app/main_window.h"

#include <QWidget>

#include <algorithm>

#include "common/dpi.h"
#include "framework/screen_area.h"
#include "framework/window_fit.h"

namespace rg_Ombrine_app {

namespace {

// The batch group's width as built, in logical pixels.
constexpr int kBatchGroupWidth = 1198;

// The controls the layout has not created stay where they are.
void MoveIfWindow(CQzuWinControl& control, int x, int y, int width, int height) {
  if (control.HasWindow()) control.Move(x, y, width, height);
}
void SetLeftIfWindow(CQzuWinControl& control, int x) {
  if (control.HasWindow()) control.SetLeft(x);
}
void SetTopIfWindow(CQzuWinControl& control, int y) {
  if (control.HasWindow()) control.SetTop(y);
}
void SetWidthIfWindow(CQzuWinControl& control, int width) {
  if (control.HasWindow()) control.SetWidth(width);
}
void SetHeightIfWindow(CQzuWinControl& control, int height) {
  if (control.HasWindow()) control.SetHeight(height);
}
// A control without a window measures 0.
int L(const CQzuWinControl& c) { return c.HasWindow() ? c.GetLeft() : 0; }
int T(const CQzuWinControl& c) { return c.HasWindow() ? c.GetTop() : 0; }
int W(const CQzuWinControl& c) { return c.HasWindow() ? c.GetWidth() : 0; }
int H(const CQzuWinControl& c) { return c.HasWindow() ? c.GetHeight() : 0; }

}  // namespace

QSize rg_ZhuChuangKouLei::MinimumClientSize() {
  // Right: the toggles and the parked panels keep their places, the batch
  // buttons theirs inside the batch group.
  int right = 0;
  for (int i = 0; i < kConversionFunctionCount; ++i) {
    const Button& toggle = FunctionToggle(static_cast<ConversionFunction>(i));
    right = std::max(right, L(toggle) + W(toggle));
  }
  for (const Layouter* panel :
       {&EncodeIncludesPanel, &TxtPanel, &WordTxtPanel, &CharFormatPanel, &DedupPanel, &PinyinPanel})
    right = std::max(right, L(*panel) + W(*panel));
  for (const Button* batch : {&BatchEncodeButton, &BatchDecodeButton})
    right = std::max(right, L(BatchGroup) + L(*batch) + W(*batch));
  // Down: the editors' panel keeps its captions, its paste, copy and swap
  // buttons and a margin under them; the batch group its height.
  const int margin = L(InputEditor);
  int editorsBottom = 0;
  for (const CQzuWinControl* c : std::initializer_list<const CQzuWinControl*>{
           &InputCaption, &ResultCaption, &PasteButton, &CopyButton, &SwapButton})
    editorsBottom = std::max(editorsBottom, T(*c) + H(*c));
  // Never above the design size: at some factors the wider txt panel
  // reaches a rounding pixel past it, as the build places it.
  return QSize(right, T(EditorsPanel) + editorsBottom + margin + H(BatchGroup))
      .boundedTo(QSize(DefaultWidth(), DefaultHeight()));
}

intptr_t rg_ZhuChuangKouLei::OnMainWindowResize() {
  // The rules below work in content coordinates: unscrolled, and at least
  // as large as the minimum size.
  m_scroller.Unscroll(*this);
  const QSize minimum = MinimumClientSize();
  if (QWidget* window = GetWidget(); window && window->isWindow()) {
    // The minimum size, cut to what the screen offers; below it the client
    // area scrolls.
    const QSize room = AvailableClientSize(AvailableScreenArea().size(), GetDpiFactor());
    const QSize bounded = room.isEmpty() ? minimum : minimum.boundedTo(room);
    if (window->minimumSize() != bounded) window->setMinimumSize(bounded);
  }
  const QSize content = m_scroller.Arrange(*this, minimum);
  const int clientWidth = content.width();
  const int clientHeight = content.height();
  SetWidthIfWindow(BannerStrip, clientWidth);
  BannerStrip.BannerReference = &EncodeIncludesPanel;

  MoveIfWindow(EditorsPanel, 0, T(EditorsPanel), clientWidth, clientHeight - H(BatchGroup) - T(EditorsPanel));
  SetTopIfWindow(BatchGroup, T(EditorsPanel) + H(EditorsPanel));
  // The batch group (and its rule) reaches the right edge of a wider window;
  // never narrower than built.
  SetWidthIfWindow(BatchGroup, std::max(ScaleByDpiFactor(kBatchGroupWidth), clientWidth - L(BatchGroup)));

  // The editors' outer margin, as the build placed the input editor.
  const int margin = L(InputEditor);
  SetWidthIfWindow(InputEditor, (EditorsPanel.GetClientWidth() - 5 * margin) / 2);
  SetHeightIfWindow(InputEditor, EditorsPanel.GetClientHeight() - T(InputEditor) - margin);
  SetLeftIfWindow(PasteButton, margin + W(InputEditor) - W(PasteButton));
  SetLeftIfWindow(ResultEditor, W(InputEditor) + 4 * margin);
  SetLeftIfWindow(ResultCaption, L(ResultEditor));
  SetWidthIfWindow(ResultCaption, W(InputEditor));
  SetWidthIfWindow(InputCaption, W(InputEditor));
  SetWidthIfWindow(ResultEditor, W(InputEditor));
  SetHeightIfWindow(ResultEditor, H(InputEditor));
  SetLeftIfWindow(CopyButton, L(ResultEditor) + W(ResultEditor) - W(CopyButton));
  // Centred in the gap between the editors; left of the gap when wider.
  SetLeftIfWindow(SwapButton,
                  margin + W(InputEditor) + (L(ResultEditor) - W(SwapButton) - W(InputEditor) - margin) / 2);
  SetLeftIfWindow(WrapButton, L(SwapButton));

  // The editors panel lies at x 0 of the form, so its lefts are the form's.
  SetWidthIfWindow(EncodeButton, W(InputEditor));
  SetWidthIfWindow(DecodeButton, W(ResultEditor));
  SetLeftIfWindow(DecodeButton, L(ResultEditor));
  if (DecodeButton.GetButtonText().IsEmpty())
    SetWidthIfWindow(EncodeButton, L(DecodeButton) + W(DecodeButton) - L(EncodeButton));
  if (BatchDecodeButton.GetButtonText().IsEmpty())
    SetWidthIfWindow(BatchEncodeButton, L(BatchDecodeButton) + W(BatchDecodeButton) - L(BatchEncodeButton));
  m_scroller.Scroll(*this);
  return 0;
}

void rg_ZhuChuangKouLei::PlaceOptionPanels() {
  // Right edge at the right edge of "大写", bottom two pixels above the
  // banner's bottom.
  const int left = L(UpperCaseToggle) + W(UpperCaseToggle) - W(EncodeIncludesPanel);
  const int top = H(BannerStrip) - H(EncodeIncludesPanel) - 2;
  const int bottom = top + H(EncodeIncludesPanel);
  SetLeftIfWindow(EncodeIncludesPanel, left);
  SetTopIfWindow(EncodeIncludesPanel, top);
  for (Layouter* panel : {&TxtPanel, &WordTxtPanel, &CharFormatPanel, &DedupPanel, &PinyinPanel}) {
    const bool topAligned = panel == &WordTxtPanel || panel == &CharFormatPanel;
    MoveIfWindow(*panel, left, topAligned ? top : bottom - H(*panel), W(*panel), H(*panel));
  }
  // The banner was made after the panels: they must stay over it.
  for (Layouter* panel : {&EncodeIncludesPanel, &TxtPanel, &WordTxtPanel, &CharFormatPanel, &DedupPanel, &PinyinPanel})
    panel->BringToTop();
}

}  // namespace rg_Ombrine_app
