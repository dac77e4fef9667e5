#pragma once
// The drop-down list's sizes and hit tests as pure functions of its numbers,
// so that the rules can be checked without a window. Lengths are device
// pixels; `gap` is the row gap already scaled (row gap x DPI factor,
// truncated) and `rowHeight` the height of one open row, gap included.
namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

struct DropDownListExtent {
  int height = 0;
  bool upward = false;
};

// Where the open list goes for a field of `fieldHeight` whose top lies at
// `top` in a parent `parentHeight` high. All rows (itemCount x rowHeight +
// gap) open downward when they fit below the field; else the list opens
// downward into the room below when top + fieldHeight is less than that room,
// else upward, no higher than the room above. Never negative.
DropDownListExtent PlaceDropDownList(int itemCount, int rowHeight, int gap, int parentHeight, int top,
                                     int fieldHeight);
// Whole rows in an open list (rowHeight 0 gives 0).
int CountVisibleRows(int listHeight, int gap, int rowHeight);
// The left edge of the handle: width - fieldHeight / 4 - fieldHeight / 8.
int HandleLeftEdge(int canvasWidth, int fieldHeight);
// The open row under a pointer at `y` on the display (first visible row
// counted in), or -1: above the rows, or below an upward list's rows. The
// index may lie past the items.
int DropDownRowAt(int y, int gap, bool upward, int fieldHeight, int listHeight, int rowHeight, int firstVisibleRow);
// The scroll position (from 1) that brings row `current` into view: it
// becomes the last visible row when it lay below, the first when it lay
// above; `position` when it is visible already.
int ScrollPositionShowing(int current, int firstVisibleRow, int visibleRows, int position);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
