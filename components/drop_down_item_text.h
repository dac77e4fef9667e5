#pragma once
// The item text of the drop-down list: all its items in one text. Rows are
// separated by "\r\n" (an empty row between two separators is an item with
// an empty text; a final "\r\n" makes no empty last row). Within a row the
// fields are separated by the parameter separator, "|" unless a first row
// that begins with "{参数分隔符}" sets another: that row, with every
// "{参数分隔符}" taken out, becomes the separator (so "{参数分隔符}," sets a
// comma) and makes no item. The separator lasts for later texts of the list.
//
//   field 1  the text; "[-]" a separator row; "{124}" stands for "|"
//   field 2  the number (a COLORREF in colour mode); empty: 0
//   field 3  the picture index; empty: 0, or -1 without "empty icon zero"
//   field 4  the value; empty: -1
//
// Fields past the fourth are dropped; an empty separator gives no fields, so
// every row then is an item with an empty text. Numbers are read as _wtol
// reads them: leading blanks and a sign, digits up to the first other
// character, 0 without any; beyond 32 bits they stop at the int32 limits.
// With numbering on, every text but "[-]" gets its row's position among the
// items (from 1) and "." in front; separator rows are counted but not numbered.
//
// The pair form, for lists of a text and a number per entry: a text with line
// feeds but without "\r\n" (the main window's charset lists,
// "自动识别\n0\nANSI\n0..."). Its lines, cut at every CR and every LF, are
// taken two by two as the first two fields of a row; a last unpaired line is
// dropped.
#include <cstdint>

#include "common/arrays.h"
#include "common/wstring.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

inline constexpr char16_t kDropDownSeparatorMarker[] = u"{参数分隔符}";
inline constexpr char16_t kDropDownDefaultSeparator[] = u"|";

// Parses `text` into rg_TavelkinXiangMu items; `items` is emptied first.
// `separator` is read, and replaced by a first row that sets another.
void ParseDropDownItemText(const CWString& text, CWString& separator, int32_t numbering, int32_t emptyIconZero,
                           CQzuObjectArray& items);

// True for a text in the pair form.
bool IsDropDownPairForm(const CWString& text);
// The rows of a pair-form text: line 2i, the separator and line 2i + 1,
// rows joined by "\r\n".
CWString DropDownPairsToRows(const CWString& text, const CWString& separator);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
