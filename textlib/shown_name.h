#pragma once
// ShownName: a path taken from the file system as a person reads it. A name
// whose bytes are not UTF-8 (old archives carry GBK names) travels as the
// units U+DC80 to U+DCFF, one a byte (common/utf.h); drawn as they are, they
// show as a row of replacement marks. Here such a name is read in the system
// code page, where such names come from. For showing only: the text it gives
// may not name the file. Any thread.
#include "common/wstring.h"

// `path` with every name in it ("/"-separated) that holds a byte unit read
// whole, all its bytes, in the system code page (a GBK character's second
// byte may be an ASCII letter, which travels as itself); bytes that code page
// cannot read become what it makes of them. Names without byte units stay as
// they are.
CWString ShownName(const CWString& path);
