#include "components/drop_down_item_text.h"

#include <vector>

#include "components/drop_down_item.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

constexpr int kFieldsPerRow = 4;

// Pieces between separators; a separator at the very end adds no empty
// piece, and an empty text or separator gives none.
std::vector<CWString> SplitKeepingEmpty(const CWString& text, std::u16string_view separator) {
  if (separator.empty()) return {};
  std::vector<CWString> pieces = text.Split(separator);
  if (!pieces.empty() && text.EndsWith(separator)) pieces.pop_back();
  return pieces;
}

}  // namespace

void ParseDropDownItemText(const CWString& text, CWString& separator, int32_t numbering, int32_t emptyIconZero,
                           CQzuObjectArray& items) {
  std::vector<CWString> rows = SplitKeepingEmpty(text, u"\r\n");
  items.Empty();
  size_t first = 0;
  if (!rows.empty() && rows[0].StartsWith(kDropDownSeparatorMarker)) {
    separator = rows[0];
    separator.Replace(kDropDownSeparatorMarker, u"");
    first = 1;
  }
  for (size_t r = first; r < rows.size(); ++r) {
    std::vector<CWString> fields = SplitKeepingEmpty(rows[r], separator.View());
    fields.resize(kFieldsPerRow);
    CWString itemText = fields[0];
    if (numbering && itemText != kDropDownSeparatorText)
      itemText = CWString::FromInt(items.GetCount() + 1) + u"." + itemText;
    itemText.Replace(u"{124}", u"|");
    const int32_t icon = fields[2].IsEmpty() ? (emptyIconZero ? 0 : -1) : fields[2].ToInt32();
    const int32_t value = fields[3].IsEmpty() ? -1 : fields[3].ToInt32();
    items.Add(new rg_TavelkinXiangMu(itemText, fields[1].ToInt32(), icon, value));
  }
}

bool IsDropDownPairForm(const CWString& text) { return !text.Contains(u"\r\n") && text.Contains(u"\n"); }

CWString DropDownPairsToRows(const CWString& text, const CWString& separator) {
  const std::vector<CWString> lines = text.SplitAny(u"\r\n");
  CWString rows;
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (i > 0) rows += u"\r\n";
    rows += lines[i] + separator + lines[i + 1];
  }
  return rows;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
