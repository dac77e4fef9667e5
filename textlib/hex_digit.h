#pragma once
// HexDigitValue: the value of one hexadecimal digit in a text, for every
// reader of hexadecimal in the text functions (escapes, percent-encoding,
// byte pairs).

// 0 to 15 for "0"-"9", "A"-"F" and "a"-"f"; -1 for any other unit.
inline int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}
