#include "components/button_colours.h"

#include "framework/colorref.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// The parent and button-face stand-ins, in that order: a parent colour of -1
// is the button face too.
COLORREF ResolveStandIns(COLORREF colour, COLORREF parentColour) {
  if (colour == kColourOfParent) colour = parentColour;
  if (colour == kColourOfButtonFace) colour = kButtonFaceColour;
  return colour;
}

}  // namespace

int32_t EffectiveButtonState(int32_t visualState, int32_t checkMode, int32_t checked) {
  if (checkMode && checked && (visualState == 0 || visualState == 1)) return 2;
  return visualState;
}

ButtonColours ResolveButtonColours(const ButtonColourRow& text, const ButtonColourRow& background,
                                   const ButtonColourRow& border, int32_t state, COLORREF parentColour) {
  const size_t i = state < 0 ? 0 : (state > 3 ? 3 : static_cast<size_t>(state));
  ButtonColours out;

  COLORREF back = background[i] == kColourOfNormalState ? background[0] : background[i];
  out.background = back == kColourOfNormalState ? kButtonPlainBackground : ResolveStandIns(back, parentColour);

  const COLORREF fore = text[i] == kColourOfNormalState ? text[0] : text[i];
  out.text = fore == kColourOfNormalState ? 0 : ResolveStandIns(fore, parentColour);

  const COLORREF frame = border[i] == kColourOfNormalState ? border[0] : border[i];
  out.border = frame == kColourOfNormalState ? out.text : ResolveStandIns(frame, parentColour);
  return out;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
