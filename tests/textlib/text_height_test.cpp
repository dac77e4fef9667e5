// Estimating a text's height in rows from a default or a measured cell.
#include "textlib/text_height.h"

#include <gtest/gtest.h>

#include "platform/system_code_page.h"

namespace {

using rg_Tavelkin_MingLingJi::rg_TavelkinWeiZhiLei;

rg_TavelkinWeiZhiLei NullCell() {
  rg_TavelkinWeiZhiLei cell;
  cell.SetNull(true);
  return cell;
}

TEST(EstimateTextHeight, CountsRowsOfTheDefaultCell) {
  SetSystemCodePage(936);
  const struct {
    const char16_t* text;
    int width;
    int expected;
  } cases[] = {
      {u"abcde", 30, 24},        // 6 bytes with the end mark in rows of 5
      {u"abcd", 30, 12},
      {u"ab\r\n", 30, 24},       // the final break is a line of its own
      {u"", 30, 0},
      {u"a\r\n\r\nb", 30, 36},   // the empty line between counts
      {u"汉字汉", 30, 24},        // 6 code page bytes + 1
      {u"汉字", 30, 12},
  };
  for (const auto& c : cases) {
    rg_TavelkinWeiZhiLei cell = NullCell();
    EXPECT_EQ(EstimateTextHeight(c.text, c.width, cell), c.expected) << CWString(c.text).ToUtf8();
  }
}

TEST(EstimateTextHeight, FillsANullCellAndUsesAMeasuredOne) {
  rg_TavelkinWeiZhiLei cell = NullCell();
  cell.left = 10;
  cell.top = 20;
  EstimateTextHeight(u"x", 100, cell);
  EXPECT_EQ(cell.width, 6);
  EXPECT_EQ(cell.height, 12);
  EXPECT_EQ(cell.right, 15);
  EXPECT_EQ(cell.bottom, 31);

  rg_TavelkinWeiZhiLei measured;
  measured.SetSize(8, 17);
  EXPECT_EQ(EstimateTextHeight(u"abcdefgh", 40, measured), 34);  // 9 bytes / 5 per row
  EXPECT_EQ(measured.width, 8);
}

TEST(EstimateTextHeight, NarrowBoxesAndEmptyCellsDoNotDivideByZero) {
  rg_TavelkinWeiZhiLei cell = NullCell();
  EXPECT_EQ(EstimateTextHeight(u"abc", 3, cell), 48);  // one character per row
  EXPECT_EQ(EstimateTextHeight(u"abc", 0, cell), 48);
  EXPECT_EQ(EstimateTextHeight(u"abc", -10, cell), 48);
  rg_TavelkinWeiZhiLei flat;
  flat.height = 10;  // no width measured
  EXPECT_EQ(EstimateTextHeight(u"abc", 60, flat), 10);
}

}  // namespace
