#pragma once
// Turning an arbitrary text (such as a converted file stem) into something the
// file system accepts as a file name.
#include "common/wstring.h"

// The longest file name the file systems we write to accept, in UTF-8 bytes.
inline constexpr int kMaxFileNameBytes = 255;
// The longest cleaned name, in UTF-16 code units.
inline constexpr int kMaxCleanNameUnits = 200;

// Rewrites `text` in place: \ / : * ? | < > " become their full-width forms
// (code + 0xFEE0), carriage returns, line feeds, tabs and zero units are removed, and the
// text is cut to 200 code units and to at most 255 UTF-8 bytes less
// `reservedBytes` (room for an extension the caller appends). A cut never
// splits a surrogate pair.
void CleanFileName(CWString& text, int reservedBytes = 0);
