#pragma once
// The control characters text holds, and those no text uses: the one rule
// that both the check for files that are not text and the detection of
// UTF-16 without a mark go by.

// Control characters a text may hold: TAB, LF, VT, FF, CR, SUB (an old end
// of file) and ESC (terminal colours in logs).
constexpr bool TextControl(unsigned c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x1B; }
// The others below 0x20, and DEL.
constexpr bool OtherControl(unsigned c) { return (c < 0x20 && !TextControl(c)) || c == 0x7F; }
