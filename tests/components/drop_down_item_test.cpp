// Drop-down items: the item text in its row form and its pair form, into
// item records (separators, numbering, icons, values, colours), and the
// record's object operations.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "common/arrays.h"
#include "components/drop_down_item.h"
#include "components/drop_down_item_text.h"
#include "components/picture_group.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

struct Expected {
  CWString text;
  int32_t number, icon, value;
};

std::vector<Expected> Items(const CQzuObjectArray& items) {
  std::vector<Expected> out;
  for (int i = 0; i < items.GetCount(); ++i) {
    const auto* item = static_cast<const rg_TavelkinXiangMu*>(items[static_cast<size_t>(i)]);
    out.push_back({item->text, item->number, item->iconIndex, item->value});
  }
  return out;
}

bool operator==(const Expected& a, const Expected& b) {
  return a.text == b.text && a.number == b.number && a.icon == b.icon && a.value == b.value;
}

void PrintTo(const Expected& e, std::ostream* os) {
  *os << "{" << e.text.ToUtf8() << ", " << e.number << ", " << e.icon << ", " << e.value << "}";
}

}  // namespace

TEST(DropDownItemText, RowsBecomeItems) {
  struct Row {
    const char* name;
    std::u16string text;
    int32_t numbering, emptyIconZero;
    std::vector<Expected> items;
    std::u16string separatorAfter;
  };
  const Row rows[] = {
      {"two rows ended by CR LF", u"a\r\nb\r\n", 0, 1, {{u"a", 0, 0, -1}, {u"b", 0, 0, -1}}, u"|"},
      {"an empty row between keeps its place", u"a\r\n\r\nb", 0, 1,
       {{u"a", 0, 0, -1}, {u"", 0, 0, -1}, {u"b", 0, 0, -1}}, u"|"},
      {"a lone CR LF is one empty row", u"\r\n", 0, 1, {{u"", 0, 0, -1}}, u"|"},
      {"no text, no rows", u"", 0, 1, {}, u"|"},
      {"all four fields", u"x|255|2|7", 0, 1, {{u"x", 255, 2, 7}}, u"|"},
      {"fields past the fourth are dropped", u"a|1|2|3|4|5", 0, 1, {{u"a", 1, 2, 3}}, u"|"},
      {"a separator at the end adds no field", u"a|", 0, 1, {{u"a", 0, 0, -1}}, u"|"},
      {"empty fields between separators stay", u"a||3|", 0, 1, {{u"a", 0, 3, -1}}, u"|"},
      {"an empty icon is -1 without empty icon zero", u"a|1||", 0, 0, {{u"a", 1, -1, -1}}, u"|"},
      {"numbers read as _wtol reads them", u"t| -12abc|x1|+9z", 0, 1, {{u"t", -12, 0, 9}}, u"|"},
      {"a text field that is a number stays text", u"12|99999999999|-99999999999", 0, 1,
       {{u"12", INT32_MAX, INT32_MIN, -1}}, u"|"},
      {"{124} is a vertical bar in the text", u"x{124}y|5", 0, 1, {{u"x|y", 5, 0, -1}}, u"|"},
      {"a colour number", u"红|255\r\n自定义|-2", 0, 1, {{u"红", 255, 0, -1}, {u"自定义", -2, 0, -1}}, u"|"},
      {"the separator row sets a comma", u"{参数分隔符},\r\nx,255,2,7", 0, 1, {{u"x", 255, 2, 7}}, u","},
      {"every marker in the first row goes", u"{参数分隔符};{参数分隔符}\r\na;1", 0, 1, {{u"a", 1, 0, -1}}, u";"},
      {"an empty separator gives empty items", u"{参数分隔符}\r\nx|1\r\ny", 0, 1,
       {{u"", 0, 0, -1}, {u"", 0, 0, -1}}, u""},
      {"the marker counts only in the first row", u"a\r\n{参数分隔符},", 0, 1,
       {{u"a", 0, 0, -1}, {u"{参数分隔符},", 0, 0, -1}}, u"|"},
      {"numbering skips separators but counts them", u"a\r\n[-]\r\nb", 1, 1,
       {{u"1.a", 0, 0, -1}, {u"[-]", 0, 0, -1}, {u"3.b", 0, 0, -1}}, u"|"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CWString separator(u"|");
    CQzuObjectArray items;
    items.Add(new rg_TavelkinXiangMu(u"old", 1, 1, 1));
    ParseDropDownItemText(row.text, separator, row.numbering, row.emptyIconZero, items);
    EXPECT_EQ(Items(items), row.items);
    EXPECT_EQ(separator, CWString(row.separatorAfter));
  }
}

TEST(DropDownItemText, TheSeparatorLastsForLaterTexts) {
  CWString separator(u"|");
  CQzuObjectArray items;
  ParseDropDownItemText(u"{参数分隔符},\r\nx,1", separator, 0, 1, items);
  ParseDropDownItemText(u"a|b", separator, 0, 1, items);
  EXPECT_EQ(Items(items), (std::vector<Expected>{{u"a|b", 0, 0, -1}}));
}

TEST(DropDownItemText, ThePairForm) {
  EXPECT_TRUE(IsDropDownPairForm(u"a\nb"));
  EXPECT_TRUE(IsDropDownPairForm(u"a\r0\nb"));
  EXPECT_FALSE(IsDropDownPairForm(u"a\r\nb\nc"));  // one CR LF makes it rows
  EXPECT_FALSE(IsDropDownPairForm(u"a|b"));
  EXPECT_FALSE(IsDropDownPairForm(u"a\rb"));

  struct Row {
    const char* name;
    std::u16string text;
    std::vector<Expected> items;
  };
  const Row rows[] = {
      {"the main window's charset list", u"自动识别\n0\nANSI\n0\nUTF-8\n0\nUnicode\n0\nUnicode BE\n0",
       {{u"自动识别", 0, 0, -1}, {u"ANSI", 0, 0, -1}, {u"UTF-8", 0, 0, -1}, {u"Unicode", 0, 0, -1},
        {u"Unicode BE", 0, 0, -1}}},
      {"a last unpaired line is dropped", u"a\n1\nb", {{u"a", 1, 0, -1}}},
      {"a final line feed leaves nothing", u"a\n1\n", {{u"a", 1, 0, -1}}},
      {"CR cuts lines too", u"a\r5\nb\n7", {{u"a", 5, 0, -1}, {u"b", 7, 0, -1}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CWString separator(u"|");
    CQzuObjectArray items;
    ParseDropDownItemText(DropDownPairsToRows(row.text, separator), separator, 0, 1, items);
    EXPECT_EQ(Items(items), row.items);
  }
  // The pairs are joined with the list's separator in force.
  EXPECT_EQ(DropDownPairsToRows(u"a\n1\nb\n2", u","), CWString(u"a,1\r\nb,2"));
}

TEST(DropDownItem, ObjectOperations) {
  const rg_TavelkinXiangMu fresh;
  EXPECT_EQ(fresh.text, CWString());
  EXPECT_EQ(fresh.number, 0);
  EXPECT_EQ(fresh.iconIndex, 0);
  EXPECT_EQ(fresh.value, 0);
  EXPECT_STREQ(fresh.GetClassInfo().name, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXiangMu");
  EXPECT_TRUE(fresh.IsKindOf(CQzuObject::StaticClassInfo()));

  rg_TavelkinXiangMu a(u"文本", 1, 2, 3);
  // The same text with another value is another item; so is a placeholder.
  EXPECT_FALSE(a.IsEqual(rg_TavelkinXiangMu(u"文本", 1, 2, 4)));
  rg_TavelkinXiangMu placeholder(u"文本", 1, 2, 3);
  placeholder.SetNull(true);
  EXPECT_FALSE(a.IsEqual(placeholder));
  EXPECT_FALSE(placeholder.IsSeparator());
  EXPECT_TRUE(rg_TavelkinXiangMu(u"[-]", 0, 0, 0).IsSeparator());

  // A copy owns its text.
  CQzuObject* clone = a.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_TRUE(clone->IsEqual(a));
  static_cast<rg_TavelkinXiangMu*>(clone)->text += u"改";
  EXPECT_EQ(a.text, CWString(u"文本"));
  EXPECT_FALSE(clone->IsEqual(a));
  clone->Release();

  rg_TavelkinXiangMu target(u"旧", 9, 9, 9);
  EXPECT_EQ(target.CopyFrom(rg_TavelkinTuPianZu()), 0);
  EXPECT_EQ(target.text, CWString(u"旧"));
  EXPECT_EQ(target.CopyFrom(placeholder), 1);
  EXPECT_TRUE(target.IsEqual(placeholder));
  EXPECT_TRUE(target.IsNull());
  target.Reset();
  EXPECT_TRUE(target.IsEqual(fresh));

  // Stream form: text, number, icon index, value; a short read changes nothing.
  CQzuMemStream out;
  a.SaveToStream(out);
  EXPECT_EQ(out.Buffer().GetSize(), 4u + 6u + 12u);  // byte count, "文本" and its zero, three numbers
  CQzuMemStream in(out.Buffer());
  rg_TavelkinXiangMu loaded;
  loaded.LoadFromStream(in);
  EXPECT_TRUE(loaded.IsEqual(a));
  CQzuMemStream shortIn(out.Buffer().GetData(), out.Buffer().GetSize() - 1);
  rg_TavelkinXiangMu untouched(u"留", 5, 5, 5);
  untouched.LoadFromStream(shortIn);
  EXPECT_EQ(shortIn.GetError(), kQzuStreamShortRead);
  EXPECT_TRUE(untouched.IsEqual(rg_TavelkinXiangMu(u"留", 5, 5, 5)));
}
