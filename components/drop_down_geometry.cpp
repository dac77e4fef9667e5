#include "components/drop_down_geometry.h"

#include <algorithm>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

DropDownListExtent PlaceDropDownList(int itemCount, int rowHeight, int gap, int parentHeight, int top,
                                     int fieldHeight) {
  const int rows = itemCount * rowHeight + gap;
  const int below = parentHeight - top;
  DropDownListExtent e;
  if (below >= rows + fieldHeight) {
    e.height = rows;
  } else if (top + fieldHeight < below) {
    e.height = below - fieldHeight;
  } else {
    e.upward = true;
    e.height = std::min(rows, top);
  }
  if (e.height < 0) e.height = 0;
  return e;
}

int CountVisibleRows(int listHeight, int gap, int rowHeight) {
  return rowHeight > 0 ? (listHeight - gap / 2) / rowHeight : 0;
}

int HandleLeftEdge(int canvasWidth, int fieldHeight) { return canvasWidth - fieldHeight / 4 - fieldHeight / 8; }

int DropDownRowAt(int y, int gap, bool upward, int fieldHeight, int listHeight, int rowHeight, int firstVisibleRow) {
  const int e = y - gap / 2 - (upward ? 0 : fieldHeight);
  if (e < 0 || rowHeight <= 0) return -1;
  if (upward && e > listHeight) return -1;
  return e / rowHeight + firstVisibleRow;
}

int ScrollPositionShowing(int current, int firstVisibleRow, int visibleRows, int position) {
  if (current >= firstVisibleRow + visibleRows) return current - visibleRows + 2;
  if (current < firstVisibleRow) return current + 1;
  return position;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
