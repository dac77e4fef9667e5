// The drop-down list's numbers without a window: where the open list goes and
// how high it is, whole rows, the handle's edge, the row under the pointer,
// the scroll position that shows a row, and the address an item carries.
#include <gtest/gtest.h>

#include "components/drop_down_address.h"
#include "components/drop_down_geometry.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

TEST(DropDownGeometry, TheListOpensWhereThereIsRoom) {
  // Rows 24 high with a gap of 5: five items need 125 pixels; the field is 26.
  struct Row {
    const char* name;
    int items, parentHeight, top;
    int height;
    bool upward;
  };
  const Row rows[] = {
      {"all rows fit below", 5, 400, 10, 125, false},
      {"exactly fits below", 5, 161, 10, 125, false},
      {"cut to the room below when that is larger", 5, 150, 10, 114, false},
      {"near the bottom: upward, all rows", 5, 300, 220, 125, true},
      {"near the bottom: upward, cut to the room above", 5, 150, 100, 100, true},
      {"no items: only the gap", 0, 300, 10, 5, false},
      {"a field taller than its parent", 5, 20, 0, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const DropDownListExtent e = PlaceDropDownList(row.items, 24, 5, row.parentHeight, row.top, 26);
    EXPECT_EQ(e.height, row.height);
    EXPECT_EQ(e.upward, row.upward);
  }
}

TEST(DropDownGeometry, RowsHandleAndScrollPosition) {
  EXPECT_EQ(CountVisibleRows(245, 5, 24), 10);  // (245 - 2) / 24
  EXPECT_EQ(CountVisibleRows(241, 5, 24), 9);
  EXPECT_EQ(CountVisibleRows(100, 5, 0), 0);
  EXPECT_EQ(HandleLeftEdge(200, 26), 200 - 6 - 3);

  // Downward below a 26-pixel field: the first row starts at 26 + 5.
  EXPECT_EQ(DropDownRowAt(20, 5, false, 26, 245, 24, 0), -1);  // the field
  EXPECT_EQ(DropDownRowAt(28, 5, false, 26, 245, 24, 0), 0);
  EXPECT_EQ(DropDownRowAt(28 + 24, 5, false, 26, 245, 24, 0), 1);
  EXPECT_EQ(DropDownRowAt(28 + 24, 5, false, 26, 245, 24, 7), 8);  // scrolled
  // Upward: rows from the top, the field below them.
  EXPECT_EQ(DropDownRowAt(2, 5, true, 26, 100, 24, 0), 0);
  EXPECT_EQ(DropDownRowAt(102, 5, true, 26, 100, 24, 0), 4);
  EXPECT_EQ(DropDownRowAt(103, 5, true, 26, 100, 24, 0), -1);

  // Ten rows visible from row 5: 5..14.
  EXPECT_EQ(ScrollPositionShowing(9, 5, 10, 6), 6);
  EXPECT_EQ(ScrollPositionShowing(20, 5, 10, 6), 12);  // row 20 becomes the last visible (11..20)
  EXPECT_EQ(ScrollPositionShowing(2, 5, 10, 6), 3);    // row 2 becomes the first
}

TEST(DropDownAddress, TheAddressOfAnItem) {
  struct Row {
    std::u16string text;
    bool addWww;
    std::u16string address;
  };
  const Row rows[] = {
      {u"首页 example.com", true, u"http://www.example.com"},
      {u"首页 example.com", false, u"http://example.com"},
      {u"  example.com  ", false, u"http://example.com"},
      {u"HTTP://Example.com/a", true, u"HTTP://Example.com/a"},
      {u"搜索 https://s.example.com", true, u"https://s.example.com"},
      {u"新闻 WWW.example.com", true, u"http://WWW.example.com"},
      {u"a b c", true, u""},
      {u"\t", true, u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(CWString(row.text).ToUtf8());
    EXPECT_EQ(DropDownItemAddress(row.text, row.addWww), CWString(row.address));
  }
}
