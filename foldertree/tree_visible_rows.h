#pragma once
// TreeVisibleRowList: the rows a tree box shows (those outside collapsed
// subtrees), in display order, as bytes: per row 03 04 and the int32 row
// number, then a closing 03 04 (n * 6 + 2 bytes for n rows). The list is
// current while its generation equals the tree box's row-buffer generation
// (tree_index_record.h); the tree box builds and patches it
// (tree_box_model.h), this class only holds and reads it. UI thread only.
#include <cstdint>

#include "common/mem.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

class TreeVisibleRowList {
 public:
  // Appends the entry of one row, without the closing mark.
  static void AppendEntry(CQzuMem& out, int32_t row);

  // The row number on the n-th shown line (1-based); -1 when n is below 1 or
  // past the last entry.
  int GetVisibleRowAt(int n) const;
  // Byte position of the row's entry; -1 when the row is not shown. Entries
  // rise with the row number, so this is a binary search that gives the
  // answer of the byte search for 03 04, row, 03 04.
  long long FindVisibleRowEntry(int row) const;
  // The row's 1-based line; a row that is not shown gives 1.
  int GetVisibleIndexOfRow(int row) const;

  CQzuMem bytes;
  int32_t count = 0;
  int64_t generation = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
