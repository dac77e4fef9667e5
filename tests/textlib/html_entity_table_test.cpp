#include <gtest/gtest.h>

#include "textlib/html_entity_table.h"

namespace {

TEST(HtmlEntityTable, RowsAndTheirJoins) {
  const CWString& table = HtmlEntityTable();
  const std::vector<CWString> rows = table.Split(u"\r\n");
  ASSERT_EQ(rows.size(), 101u);
  EXPECT_EQ(rows.front(), u"&quot; &#34;");
  EXPECT_EQ(rows.back(), u"&rdquo; &#8221;");
  EXPECT_FALSE(table.StartsWith(u"\r\n"));
  EXPECT_FALSE(table.EndsWith(u"\r\n"));
  // Every row reads back through the lookup.
  for (const CWString& row : rows) {
    const int semicolon = row.Find(u';');
    ASSERT_GT(semicolon, 1) << row.ToUtf8();
    EXPECT_EQ(CWString::FromInt(LookupHtmlEntity(row.View().substr(1, semicolon - 1))), row.Mid(semicolon + 4, row.Length() - semicolon - 5))
        << row.ToUtf8();
  }
}

TEST(HtmlEntityTable, Lookup) {
  const struct {
    const char16_t* name;
    int code;
  } cases[] = {
      {u"amp", 38},
      {u"nbsp", 32},       // kept an ordinary blank
      {u"circ", 0x2C6},    // its own code, not that of Acirc
      {u"ring", 0x2DA},    // its own code, not that of Aring
      {u"eth", 240},
      {u"ieth", 0},        // no such HTML name
      {u"Acirc", 0},       // no row
      {u"Auml", 0},        // no row
      {u"AMP", 0},         // names compare case-sensitively
      {u"ldquo", 8220},
      {u"rdquo", 8221},
      {u"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LookupHtmlEntity(c.name), c.code) << CWString(c.name).ToUtf8();
}

}  // namespace
