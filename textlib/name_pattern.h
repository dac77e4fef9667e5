#pragma once
// File-name patterns as the file search of the old system understood them:
// "*" any run of characters (also none), "?" any one character, letters
// compared without regard to ASCII case. A pattern ending in ".*" also matches
// names without a dot, so "*.*" matches every name.
#include <string_view>

bool MatchesNamePattern(std::u16string_view name, std::u16string_view pattern);
