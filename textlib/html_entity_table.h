#pragma once
// The built-in table of named HTML character references that the decoder of
// numeric references also understands. Its text holds one row per name,
// "&name; &#code;", rows joined by "\r\n" (none before the first or after the
// last). Built on first use and never changed.
#include <string_view>

#include "common/wstring.h"

const CWString& HtmlEntityTable();

// The code of a name in the table (names compare case-sensitively); 0 when
// the name is not there.
int LookupHtmlEntity(std::u16string_view name);
