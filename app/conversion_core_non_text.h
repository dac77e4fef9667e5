#pragma once
// Whether a file read by the conversion core holds text at all. A picture or
// a program named "*.txt" has zero bytes, or control characters no text
// uses; converting it would only turn it into garbage.
#include <cstddef>
#include <string_view>

namespace rg_Ombrine_app {

// The bytes of a file read in an ASCII-based charset (the system code page,
// UTF-8), after its mark: no text holds a zero byte there, unless it is
// UTF-16 text without a mark (whole units, every surrogate paired, every
// zero byte the high half of a unit in one byte order), and no text holds
// many control characters other than TAB, LF, VT, FF, CR, SUB and ESC,
// unless it is UTF-16 text. A control byte is a
// control character in each of these charsets (no byte below 0x40 continues
// a character), so the bytes are counted as they are. UTF-16 text taken for
// another charset is still text: it is converted as it was read.
bool BytesHoldNoText(std::string_view bytes);

// The units of a file read as UTF-16: the zero bytes belong to the encoding,
// so only the control characters count (U+0000 among them).
bool UnitsHoldNoText(std::u16string_view units);

// BytesHoldNoText with its counting done while the file is read: Grow is
// given the file as it grows, piece by piece, and counts each new piece while
// it is still in the processor's cache; the verdict then counts only what is
// left and looks at its counts.
class NonTextByteCounter {
 public:
  // `bytes`: all of the file read so far.
  void Grow(std::string_view bytes);
  // BytesHoldNoText(bytes.substr(markLength)), `bytes` being the whole file
  // Grow saw growing.
  bool HoldsNoText(std::string_view bytes, size_t markLength);

 private:
  size_t m_counted = 0;  // bytes counted from the start, a multiple of 32
  size_t m_controls = 0;
  bool m_zeroAtEven = false;
  bool m_zeroAtOdd = false;
};

// UnitsHoldNoText counted the same way, for a file read as UTF-16LE whose
// units after its mark are the units checked (its conversion to UTF-16 only
// drops the mark).
class NonTextUnitCounter {
 public:
  // `bytes`: all of the file read so far.
  void Grow(std::string_view bytes);
  // Counts what is left of `bytes`, the whole file Grow saw growing, before
  // it is converted; false when they cannot be counted in place.
  bool Finish(std::string_view bytes);
  // UnitsHoldNoText of the `unitCount` units Finish counted.
  bool HoldsNoText(size_t unitCount) const;

 private:
  size_t m_counted = 0;  // bytes counted from the start, a multiple of 32
  size_t m_controls = 0;
};

// For measuring what the check costs: with false, no file is taken for no
// text. Any thread; true until changed.
void SetTextCheckEnabled(bool enabled);
bool TextCheckEnabled();

}  // namespace rg_Ombrine_app
