#pragma once
// Estimating the height of a text wrapped into a box of a given width, from
// the size of one character cell (the input box sizes its prompt with it).
#include "common/wstring.h"
#include "textlib/position_record.h"

// The cell a caller gets when it passes no measured one.
inline constexpr int kDefaultCellWidth = 6;
inline constexpr int kDefaultCellHeight = 12;

// Height in pixels of `text` wrapped to `width` pixels: each line (split at
// CR LF; a final CR LF counts as one more line of two bytes) takes
// ceil((its length in system code page bytes + 1) / characters per row) rows
// of the cell's height. A null-object `cell` is filled in with the 6 x 12
// default cell (and, under a non-zero mode, its right and bottom edges). A box
// narrower than one cell, or a cell without width, still fits one character
// per row; the empty text gives 0.
int EstimateTextHeight(const CWString& text, int width, rg_Tavelkin_MingLingJi::rg_TavelkinWeiZhiLei& cell);
