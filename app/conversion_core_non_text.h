#pragma once
// Whether a file read by the conversion core holds text at all. A picture or
// a program named "*.txt" has zero bytes, or control characters no text
// uses; converting it would only turn it into garbage.
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

}  // namespace rg_Ombrine_app
