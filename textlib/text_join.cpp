#include "textlib/text_join.h"

#include <cstdlib>

#include "platform/random_seed.h"
#include "textlib/path_helpers.h"
#include "textlib/text_trim.h"

CWString JoinItems(const rg_Ombrine_base::rg_WenBenShuZuLei& items, CWString& separator, int alwaysSeparate,
                   int useStems, int trim, const rg_Ombrine_base::rg_WenBenShuZuLei& alternatives) {
  CWString result;
  // Room for about seven characters per item up front.
  result.Str().reserve(static_cast<size_t>(items.GetCount()) * 7);
  if (!alternatives.IsEmpty()) EnsureRandomSeeded();
  bool first = true;
  for (const CWString& original : items) {
    if (!alternatives.IsEmpty()) separator = alternatives[static_cast<size_t>(std::rand()) % alternatives.size()];
    CWString item = useStems ? PathStem(original) : original;
    if (trim) TrimBlanks(item, kTrimBothEnds);
    if (alwaysSeparate ? !first : (!result.IsEmpty() && !item.IsEmpty())) result += separator;
    result += item;
    first = false;
  }
  return result;
}
