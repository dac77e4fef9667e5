#include "components/colour_arithmetic.h"

#include <cmath>

rg_Ombrine_base::rg_ZhengShuShuZuLei RgbToHsl(uint32_t colour) {
  const double r = (colour & 0xFF) / 255.0;
  const double g = ((colour >> 8) & 0xFF) / 255.0;
  const double b = ((colour >> 16) & 0xFF) / 255.0;
  const double max = std::fmax(r, std::fmax(g, b));
  const double min = std::fmin(r, std::fmin(g, b));
  const double d = max - min;
  const double l = (max + min) * 0.5;
  double h = 0.0;
  double s = 0.0;
  if (std::fabs(d) >= 1e-6) {
    s = l <= 0.5 ? d / (max + min) : d / (2.0 - max - min);
    const double rc = (max - r) / d;
    const double gc = (max - g) / d;
    const double bc = (max - b) / d;
    // Exact comparisons, red first: a tie between channels picks the earlier.
    if (r == max)
      h = bc - gc;
    else if (g == max)
      h = 2.0 + rc - bc;
    else
      h = 4.0 + gc - rc;
    if (h < 0.0) h += 6.0;
  }
  return rg_Ombrine_base::rg_ZhengShuShuZuLei{static_cast<int32_t>(h * 40.0), static_cast<int32_t>(s * 240.0),
                                              static_cast<int32_t>(l * 240.0)};
}

uint32_t HslToRgb(double hue, double saturation, double lightness) {
  const double L = lightness / 240.0;
  const double S = saturation / 240.0;
  const double v = L <= 0.5 ? L * (1.0 + S) : L + S - L * S;
  double red = L, green = L, blue = L;
  if (v > 0.0) {
    const double m = 2.0 * L - v;
    const double h = hue / 240.0 * 6.0;
    const int sextant = static_cast<int>(h);
    const double f = h - sextant;
    const double vsf = (v - m) / v * v * f;
    const double mid1 = m + vsf;
    const double mid2 = v - vsf;
    switch (sextant) {
      case 0: red = v; green = mid1; blue = m; break;
      case 1: red = mid2; green = v; blue = m; break;
      case 2: red = m; green = v; blue = mid1; break;
      case 3: red = m; green = mid2; blue = v; break;
      case 4: red = mid1; green = m; blue = v; break;
      case 5: red = v; green = m; blue = mid2; break;
      default: break;  // outside the wheel: the grey of the lightness
    }
  }
  // Channels stay within 0..1 for inputs on the 0..240 scale; the mask keeps
  // an out-of-range input from spilling into the next byte.
  const auto channel = [](double c) { return static_cast<uint32_t>(static_cast<int32_t>(c * 255.0)) & 0xFF; };
  return channel(red) | (channel(green) << 8) | (channel(blue) << 16);
}

uint32_t DerivedColour(int32_t hue, int32_t saturation, int32_t lightness) {
  const int32_t h = hue + 60 > 240 ? hue - 180 : hue + 60;
  const int32_t s = saturation + 40 > 240 ? saturation - 200 : saturation + 40;
  const int32_t l = lightness - 90 < 0 ? lightness + 150 : lightness - 90;
  return HslToRgb(h, s, l);
}

CWString ColourToHexText(uint32_t colour) {
  if (colour == 0xFFFFFFFFu) return CWString();
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  CWString text(u"#");
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t byte = (colour >> shift) & 0xFF;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}
