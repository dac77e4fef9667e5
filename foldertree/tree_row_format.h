#pragma once
// Tree box row records: the byte layout of one row and the rules of its two
// state bytes. Used by the row store (tree_box_model.h) and the index
// builders (tree_index_builders.h); nothing here touches a tree box.
//
// A record is the row's text (UTF-16LE code units, no terminator, possibly
// empty), the row marker (01 02 03 04 unless a tree box loaded another one),
// then a header of 26 bytes, or 18 in the short-header mode. All integers are
// little-endian. Header offsets count from the first byte after the marker:
//
//   +0  int32 level            +12 int32 user value
//   +4  int32 icon (-1 none)   +16 uint8 expand byte
//   +8  int32 selected icon    +17 uint8 check byte
//   +18 int32 text colour, +22 int32 background colour (long header only;
//       -1 = the tree box's default)
#include <cstdint>

#include "common/mem.h"
#include "common/wstring.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

inline constexpr uint8_t kTreeRowMarker[4] = {0x01, 0x02, 0x03, 0x04};
inline constexpr int kTreeLongHeaderSize = 26;
inline constexpr int kTreeShortHeaderSize = 18;

inline constexpr int kRowLevelField = 0;
inline constexpr int kRowIconField = 4;
inline constexpr int kRowSelectedIconField = 8;
inline constexpr int kRowUserValueField = 12;
inline constexpr int kRowExpandField = 16;
inline constexpr int kRowCheckField = 17;
inline constexpr int kRowTextColourField = 18;
inline constexpr int kRowBackColourField = 22;

// Expand byte: bit value 2 opens the row, bit value 1 makes its text bold.
// A row counts as expanded when the byte, read as a signed byte, is 2 or more
// (4 to 127 expanded, 128 to 255 collapsed).
inline bool IsExpandedByte(uint8_t b) { return static_cast<int8_t>(b) >= 2; }
// 0 and 2 swap, 1 and 3 swap; 4 to 255 stay as they are.
uint8_t ToggledExpandByte(uint8_t b);
// 0 and 2 give 2, 1 and 3 give 3, 4 to 255 give 2 (the bold bit is kept).
uint8_t ExpandedByte(uint8_t b);
// 0 and 2 give 0, 1 and 3 give 1, 4 to 255 give 0.
uint8_t CollapsedByte(uint8_t b);

// Check byte: 0 unchecked, 1 checked, 2 the third state, 3 fixed.
inline constexpr int kTwoStateCheckMode = 2;
inline constexpr uint8_t kFixedCheckByte = 3;
// One cycling step: 3 stays; otherwise the byte plus 1, taken as a signed
// byte, wraps to 0 when it exceeds the limit (1 in the two-state mode 2, 2 in
// any other mode). So two-state 0, 1, 0; three-state 0, 1, 2, 0; 4 to 127
// give 0, 128 to 254 count on and 255 gives 0.
uint8_t CycledCheckByte(uint8_t b, int checkMode);

// The values a header is written with.
struct TreeRowFields {
  int32_t level = 0;
  int32_t icon = -1;
  int32_t selectedIcon = -1;
  int32_t userValue = 0;
  uint8_t expand = 0;
  uint8_t check = 0;
};

// Appends one record: the text up to its first NUL unit, the marker, then a
// header of `headerSize` bytes (colours -1 when it has room for them).
void AppendRowRecordBytes(CQzuMem& out, const CWString& text, const TreeRowFields& fields, const CQzuMem& marker,
                          int headerSize);

// The text as it is stored: up to its first NUL unit.
std::u16string_view StoredRowText(const CWString& text);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
