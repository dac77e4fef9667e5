#include "foldertree/tree_visible_rows.h"

#include <cstring>

#include "foldertree/tree_index_builders.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

void TreeVisibleRowList::AppendEntry(CQzuMem& out, int32_t row) {
  uint8_t entry[6];
  std::memcpy(entry, kIndexEntryMark, 2);
  std::memcpy(entry + 2, &row, 4);
  out.Append(entry, 6);
}

int TreeVisibleRowList::GetVisibleRowAt(int n) const {
  if (n < 1 || static_cast<long long>(bytes.GetSize()) < n * 6LL + 2) return -1;
  return ReadTableInt32(bytes, (n - 1) * 6LL + 2);
}

long long TreeVisibleRowList::FindVisibleRowEntry(int row) const {
  const long long entries = bytes.GetSize() >= 2 ? (static_cast<long long>(bytes.GetSize()) - 2) / 6 : 0;
  long long lo = 0, hi = entries;
  while (lo < hi) {
    const long long mid = lo + (hi - lo) / 2;
    if (ReadTableInt32(bytes, mid * 6 + 2) < row)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < entries && ReadTableInt32(bytes, lo * 6 + 2) == row ? lo * 6 : -1;
}

int TreeVisibleRowList::GetVisibleIndexOfRow(int row) const {
  const long long at = FindVisibleRowEntry(row);
  return at < 0 ? 1 : static_cast<int>(at / 6 + 1);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
