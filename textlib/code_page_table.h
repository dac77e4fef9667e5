#pragma once
// The built-in table of Windows code pages and their charset names. It gives
// the system code page its name ("gbk" for 936); detection and conversion
// build on that name.
#include "common/wstring.h"

// The table text: rows "<code page>,<name>,<description>", each preceded by
// "\r\n" and the last one followed by "\r\n", so every row is found by
// searching "\r\n<code page>,". Built once, never changed.
const CWString& CodePageTable();

// The charset name of a code page as stored in the table (mostly lower case),
// or the empty text when the table has no row for it.
CWString CodePageToCharset(int codePage);
