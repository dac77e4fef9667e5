#pragma once
// Colours of the owner-drawn button: which state's colours a redraw uses, and
// how the colour table's stand-in values become real colours. Pure functions,
// so that the rules can be checked without a window.
//
// A colour table holds per visual state (0 normal, 1 hover, 2 pressed,
// 3 disabled) a COLORREF or one of three stand-ins:
//   kColourOfNormalState (-2)  the value of state 0 (still -2 there: background
//                              0xECECEC, text black, border the text colour);
//   kColourOfParent (0xFF000000) the button's parent-colour member;
//   kColourOfButtonFace (-1)   the system button face (also a parent colour of -1).
#include <array>
#include <cstdint>

#include "framework/win_defs.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

inline constexpr COLORREF kColourOfNormalState = 0xFFFFFFFEu;
inline constexpr COLORREF kColourOfButtonFace = 0xFFFFFFFFu;
inline constexpr COLORREF kColourOfParent = 0xFF000000u;
// What a background still -2 in state 0 becomes.
inline constexpr COLORREF kButtonPlainBackground = 0xECECEC;

using ButtonColourRow = std::array<COLORREF, 4>;

struct ButtonColours {
  COLORREF background = 0;
  COLORREF text = 0;
  COLORREF border = 0;
};

// The state whose colours and image a redraw uses: a checked button in check
// mode looks pressed while it is normal or hovered.
int32_t EffectiveButtonState(int32_t visualState, int32_t checkMode, int32_t checked);

// The three colours of `state` (above 3 takes entry 3, below 0 entry 0).
ButtonColours ResolveButtonColours(const ButtonColourRow& text, const ButtonColourRow& background,
                                   const ButtonColourRow& border, int32_t state, COLORREF parentColour);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
