#pragma once
// Reading a whole text file into UTF-16 with a named or detected charset.
// The bytes come through ReadWholeFile (platform/whole_file_read.h), which
// callers of these functions get with them.
#include "common/boxed.h"
#include "common/mem.h"
#include "common/wstring.h"
#include "platform/whole_file_read.h"

// The charset of a text file's bytes: an empty `charset` asks for detection
// and receives the detected name. Returns the length of the mark to skip
// ("UTF-8" EF BB BF, "UTF-16"/"UTF-16LE" FF FE, "UTF-16BE" FE FF), 0 when
// there is none.
int TextCharsetOf(const CQzuMem& bytes, CWString& charset);

// Replaces `bytes` with the file's text as UTF-16LE bytes without a mark.
// An empty path decodes the bytes the buffer already holds; a missing or
// unreadable file reads as empty. An empty `charset` asks for detection and
// receives the detected name; a given name decides which mark is skipped
// ("UTF-8" EF BB BF, "UTF-16"/"UTF-16LE" FF FE, "UTF-16BE" FE FF) and may be
// rewritten by the conversion ("ANSI" -> "GBK", "UTF8" -> "UTF-8").
// `hasMark` tells whether a mark was skipped. Unless `rawBytes` is a null
// object it receives a copy of the file's bytes as read.
// Returns false when the charset is one nothing can convert from; the buffer
// then holds the file's bytes unconverted.
bool LoadTextFile(CQzuMem& bytes, const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark,
                  CQzuMem& rawBytes);
// The same without the raw bytes.
bool LoadTextFile(CQzuMem& bytes, const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark);

// The file's whole text, zero units included. A trailing odd byte of UTF-16
// text, half a unit, shows as U+FFFD. Empty when the file cannot be read or
// its charset cannot be converted.
CWString ReadTextFile(const CWString& path, CWString& charset, rg_Ombrine_base::rg_LuoJiXingLei& hasMark);
