#pragma once
// Conversion of byte buffers between named charsets, in place. Among the
// system code page ("ANSI"), "UTF-8", "UTF-16"/"UTF-16LE" and "UTF-16BE" the
// conversion runs on our own loops and code-page tables; any other name is
// opened as a charset (ICU names, plus the Windows meaning of the code-page
// table's names). Results carry no byte-order mark, and a zero byte or unit
// is data: nothing is cut at a NUL.
#include <functional>
#include <string_view>

#include "common/mem.h"
#include "common/wstring.h"

// Converts `bytes` from charset `from` to charset `to`, first dropping the
// leading `markLength` bytes (nothing when <= 0, everything when larger than
// the buffer). The caller's names are rewritten: one that upper-cases to
// "ANSI" becomes the upper-cased table name of the system code page ("GBK"),
// "UTF8" becomes "UTF-8"; other names keep their case.
// Returns false, leaving the buffer untouched, when a name is not a charset
// anything knows, and false when memory runs out (the buffer then holds no
// useful result); true otherwise (equal names only drop the mark).
bool ConvertCharset(CQzuMem& bytes, CWString& from, CWString& to, int markLength);
// For callers whose names are constants; nothing is written back.
bool ConvertCharset(CQzuMem& bytes, const CWString& from, const CWString& to, int markLength);

// Whether `name` ("ANSI" and "UTF8" included) is a charset anything here
// can convert to and from.
bool CharsetIsKnown(const CWString& name);

// Encodes UTF-16 units into charset `to` and hands the bytes to `sink` piece
// by piece: together the bytes ConvertCharset gives from "UTF-16" to `to`,
// without a buffer for all of them. False when `to` is not a charset anything
// knows (then the sink gets nothing) or when the sink refuses a piece;
// std::bad_alloc when memory runs out. `replaced`, when given, receives how
// many characters the system code page lacked and wrote as "?" (counted on
// the pieces handed over; the UTF charsets hold every character, and other
// charsets are not counted: 0).
bool EncodeUtf16InPieces(std::u16string_view units, const CWString& to,
                         const std::function<bool(const void*, size_t)>& sink, size_t* replaced = nullptr);

// Whether text in the system code page goes straight to UTF-8 here (file
// conversions without a function take that shorter way). `from` is
// rewritten as ConvertCharset would.
bool AnsiDecodesStraightToUtf8(CWString& from, const CWString& to);

// System code page bytes to UTF-8, handed to `sink` piece by piece: together
// the bytes AnsiToUtf16 and then Utf16ToUtf8 give. False when the sink
// refuses a piece.
bool AnsiToUtf8InPieces(std::string_view bytes, const std::function<bool(const void*, size_t)>& sink);

// The native byte converters; each replaces the buffer's contents, or
// throws std::bad_alloc, leaving it as it was, when memory runs out.
// System code page bytes -> UTF-16LE.
void AnsiToUtf16(CQzuMem& bytes);
// UTF-16LE -> system code page bytes; characters the code page lacks are
// best-fitted or become "?". An odd trailing byte is read as the low byte of
// a last unit whose high byte is 0.
void Utf16ToAnsi(CQzuMem& bytes);
// UTF-16LE -> UTF-8; a lone surrogate becomes U+FFFD. Odd tail as above.
void Utf16ToUtf8(CQzuMem& bytes);
// UTF-8 -> UTF-16LE; each ill-formed sequence becomes U+FFFD.
void Utf8ToUtf16(CQzuMem& bytes);
// Exchanges the two bytes of every 16-bit unit (UTF-16LE <-> UTF-16BE). The
// length is kept: an odd trailing byte, half a unit, is dropped and a 0 byte
// takes its place.
void SwapUtf16ByteOrder(CQzuMem& bytes);
