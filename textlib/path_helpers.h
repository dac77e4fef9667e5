#pragma once
// Cutting paths into folder, file name, stem and extension, and adding or
// stripping one trailing separator. Pure text operations: they never touch
// the file system, never change case and never normalise. The separator is
// "/" (kPathSeparator); "\" is an ordinary character here. The names keep the
// word "Backslash" because every caller in the program knows them by it.
#include "common/wstring.h"

// The one path separator of the program.
inline constexpr char16_t kPathSeparator = u'/';
// The separator as a text, for joining.
inline constexpr char16_t kPathSeparatorText[] = u"/";

// The text before the last separator; empty when there is none.
CWString PathFolder(const CWString& path);
// The text after the last separator; the whole path when there is none.
CWString PathFileName(const CWString& path);
// The file name up to, not including, its last "."; the whole name without ".".
CWString PathStem(const CWString& path);
// The text after the last "." of the file name; empty when it has none.
CWString PathExtension(const CWString& path);
// The path without its last character when that is the separator (one only).
CWString StripTrailingBackslash(const CWString& path);
// The path followed by the separator unless it already ends with one (an empty
// path becomes the separator alone).
CWString AppendTrailingBackslash(const CWString& path);
