#include "textlib/keyword_match.h"

#include <vector>

namespace {

// Split at "|" keeping empty pieces, except that a final "|" adds none.
std::vector<CWString> CombinationPieces(const CWString& list) {
  std::vector<CWString> pieces = list.Split(u"|");
  if (list.EndsWith(u"|") && !pieces.empty()) pieces.pop_back();
  return pieces;
}

}  // namespace

int ContainsAnyKeyword(const CWString& text, const CWString& keywords, const CWString& combinations,
                       const CWString& separators) {
  std::vector<CWString> list = keywords.SplitAny(separators.View(), true, true);
  if (!combinations.IsEmpty()) {
    const std::vector<CWString> pieces = CombinationPieces(combinations);
    std::vector<CWString> combined;
    combined.reserve(list.size() * pieces.size());
    for (const CWString& keyword : list)
      for (const CWString& piece : pieces) combined.push_back(keyword + piece);
    list = std::move(combined);
  }
  for (const CWString& keyword : list)
    if (!keyword.IsEmpty() && text.Find(keyword.View(), 0, true) >= 0) return 1;
  return 0;
}
