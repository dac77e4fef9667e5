#include "textlib/name_pattern.h"

#include "common/wstring.h"

namespace {

// Greedy wildcard match with one backtrack point: linear for one "*", and
// at worst quadratic in the name for several.
bool Wildcard(std::u16string_view name, std::u16string_view pattern) {
  size_t n = 0, p = 0;
  size_t starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == u'?' || QzuAsciiLower(pattern[p]) == QzuAsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesNamePattern(std::u16string_view name, std::u16string_view pattern) {
  if (Wildcard(name, pattern)) return true;
  // "name.*" stands for the name with any extension or none.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
      name.find(u'.') == std::u16string_view::npos)
    return Wildcard(name, pattern.substr(0, pattern.size() - 2));
  return false;
}
