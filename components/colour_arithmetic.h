#pragma once
// Colour arithmetic for the colour swatches and the colour pop-up: COLORREF
// (0x00BBGGRR) to hue, saturation and lightness on the 0..240 scale of the
// colour dialog and back, a contrasting companion colour, and "#RRGGBB" text.
// Every conversion from double to integer truncates toward zero.
#include <cstdint>

#include "common/arrays.h"
#include "common/wstring.h"

// Hue, saturation, lightness, each 0..240; the top byte is ignored.
rg_Ombrine_base::rg_ZhengShuShuZuLei RgbToHsl(uint32_t colour);
// The classic HLS-to-RGB procedure on the 0..240 scale; a hue outside the six
// sextants (240 or more, or negative) gives the grey of the lightness.
uint32_t HslToRgb(double hue, double saturation, double lightness);
// HslToRgb of hue + 60, saturation + 40, lightness - 90, each wrapped on 240.
uint32_t DerivedColour(int32_t hue, int32_t saturation, int32_t lightness);
// "#" and the red, green and blue bytes as upper-case hex; -1 gives "".
CWString ColourToHexText(uint32_t colour);
