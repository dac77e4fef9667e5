#include "app/conversion_core_non_text.h"

#include <cstring>
#include <string>

namespace rg_Ombrine_app {

namespace {

// More control characters than this share of the text, and more than a stray
// one or two, make a file no text.
constexpr size_t kControlsPerHundred = 1;
constexpr size_t kStrayControls = 2;

// Control characters a text may hold: TAB, LF, VT, FF, CR, SUB (an old end
// of file) and ESC (terminal colours in logs).
constexpr bool TextControl(unsigned c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x1B; }

template <typename Unit>
bool TooManyControls(std::basic_string_view<Unit> text) {
  size_t controls = 0;
  for (const Unit u : text) {
    const auto c = static_cast<unsigned>(u);
    if ((c < 0x20 && !TextControl(c)) || c == 0x7F) ++controls;
  }
  return controls > kStrayControls && controls * 100 > text.size() * kControlsPerHundred;
}

// The units of `bytes` read as UTF-16 in one byte order.
std::u16string Utf16Reading(std::string_view bytes, bool littleEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto lo = static_cast<unsigned char>(bytes[2 * i + (littleEndian ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + (littleEndian ? 1 : 0)]);
    units[i] = static_cast<char16_t>(hi << 8 | lo);
  }
  return units;
}

// Whether `bytes` are UTF-16 text in that byte order: whole units, every
// surrogate in a pair, and no more control characters than text has.
bool Utf16ReadingIsText(std::string_view bytes, bool littleEndian) {
  if (bytes.size() & 1) return false;
  const std::u16string units = Utf16Reading(bytes, littleEndian);
  for (size_t i = 0; i < units.size(); ++i) {
    if ((units[i] & 0xF800) != 0xD800) continue;
    if ((units[i] & 0xFC00) != 0xD800 || i + 1 == units.size() || (units[i + 1] & 0xFC00) != 0xDC00) return false;
    ++i;
  }
  return !TooManyControls(std::u16string_view(units));
}

// Whether bytes with zero bytes are UTF-16 text without a mark (which the
// detection may have taken for another charset): every zero byte in the high
// half of a unit, in one byte order, and the units so read text.
bool ZerosBelongToUtf16(std::string_view bytes) {
  size_t zerosAt[2] = {0, 0};
  const char* const end = bytes.data() + (bytes.size() & ~size_t{1});
  for (const char* p = bytes.data(); p < end && (p = static_cast<const char*>(std::memchr(p, 0, end - p))); ++p)
    ++zerosAt[(p - bytes.data()) & 1];
  if (zerosAt[0] != 0 && zerosAt[1] != 0) return false;
  return Utf16ReadingIsText(bytes, zerosAt[1] != 0);  // little-endian: the high byte comes second
}

}  // namespace

bool BytesHoldNoText(std::string_view bytes) {
  if (bytes.empty()) return false;
  if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) return !ZerosBelongToUtf16(bytes);
  // CJK text in UTF-16 has no zero bytes, but many below 0x20.
  return TooManyControls(bytes) && !Utf16ReadingIsText(bytes, true) && !Utf16ReadingIsText(bytes, false);
}

bool UnitsHoldNoText(std::u16string_view units) { return TooManyControls(units); }

}  // namespace rg_Ombrine_app
