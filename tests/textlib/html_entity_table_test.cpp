// The built-in table of named references: its rows, and every name against
// the code the HTML standard gives it.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "textlib/escape_codec.h"
#include "textlib/html_entity_table.h"

namespace {

TEST(HtmlEntityTable, RowsAndTheirJoins) {
  const CWString& table = HtmlEntityTable();
  const std::vector<CWString> rows = table.Split(u"\r\n");
  ASSERT_EQ(rows.size(), 104u);
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
      {u"Acirc", 194},
      {u"Aring", 197},
      {u"Auml", 196},
      {u"AMP", 0},         // names compare case-sensitively
      {u"ldquo", 8220},
      {u"rdquo", 8221},
      {u"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LookupHtmlEntity(c.name), c.code) << CWString(c.name).ToUtf8();
}


// The code points of the HTML standard's named character references, for
// the names the table is to hold (from the standard's entity list).
const std::map<std::u16string, int> kStandardCodes = {
      {u"quot", 34}, {u"amp", 38}, {u"lt", 60}, {u"gt", 62}, {u"nbsp", 160}, {u"iexcl", 161}, {u"Aacute", 193},
      {u"aacute", 225}, {u"cent", 162}, {u"circ", 710}, {u"Acirc", 194}, {u"acirc", 226}, {u"pound", 163},
      {u"Atilde", 195}, {u"atilde", 227}, {u"curren", 164}, {u"Auml", 196}, {u"auml", 228}, {u"yen", 165},
      {u"ring", 730}, {u"Aring", 197}, {u"aring", 229}, {u"brvbar", 166}, {u"AElig", 198}, {u"aelig", 230},
      {u"sect", 167}, {u"Ccedil", 199}, {u"ccedil", 231}, {u"uml", 168}, {u"Egrave", 200}, {u"egrave", 232},
      {u"copy", 169}, {u"Eacute", 201}, {u"eacute", 233}, {u"ordf", 170}, {u"Ecirc", 202}, {u"ecirc", 234},
      {u"laquo", 171}, {u"Euml", 203}, {u"euml", 235}, {u"not", 172}, {u"Igrave", 204}, {u"igrave", 236},
      {u"shy", 173}, {u"Iacute", 205}, {u"iacute", 237}, {u"reg", 174}, {u"Icirc", 206}, {u"icirc", 238},
      {u"macr", 175}, {u"Iuml", 207}, {u"iuml", 239}, {u"deg", 176}, {u"ETH", 208}, {u"eth", 240}, {u"plusmn", 177},
      {u"Ntilde", 209}, {u"ntilde", 241}, {u"sup2", 178}, {u"Ograve", 210}, {u"ograve", 242}, {u"sup3", 179},
      {u"Oacute", 211}, {u"oacute", 243}, {u"acute", 180}, {u"Ocirc", 212}, {u"ocirc", 244}, {u"micro", 181},
      {u"Otilde", 213}, {u"otilde", 245}, {u"para", 182}, {u"Ouml", 214}, {u"ouml", 246}, {u"middot", 183},
      {u"times", 215}, {u"divide", 247}, {u"cedil", 184}, {u"Oslash", 216}, {u"oslash", 248}, {u"sup1", 185},
      {u"Ugrave", 217}, {u"ugrave", 249}, {u"ordm", 186}, {u"Uacute", 218}, {u"uacute", 250}, {u"raquo", 187},
      {u"Ucirc", 219}, {u"ucirc", 251}, {u"frac14", 188}, {u"Uuml", 220}, {u"uuml", 252}, {u"frac12", 189},
      {u"Yacute", 221}, {u"yacute", 253}, {u"frac34", 190}, {u"THORN", 222}, {u"thorn", 254}, {u"iquest", 191},
      {u"szlig", 223}, {u"yuml", 255}, {u"Agrave", 192}, {u"agrave", 224}, {u"ldquo", 8220}, {u"rdquo", 8221},
};

// The table holds exactly those names, and each decodes to its standard
// code, except "nbsp", which stays an ordinary blank on purpose.
TEST(HtmlEntityTable, EveryNameDecodesToItsStandardCode) {
  std::map<std::u16string, int> inTable;
  for (const CWString& row : HtmlEntityTable().Split(u"\r\n")) {
    const std::u16string name(row.View().substr(1, row.Find(u';') - 1));
    EXPECT_TRUE(inTable.emplace(name, 0).second) << "twice: " << CWString(name).ToUtf8();
    const auto standard = kStandardCodes.find(name);
    if (standard == kStandardCodes.end()) {
      ADD_FAILURE() << "not an HTML name: " << CWString(name).ToUtf8();
      continue;
    }
    const int wanted = name == u"nbsp" ? 32 : standard->second;
    for (int kind : {1, 2}) {
      CWString text(u"&" + name + u";");
      UnescapeText(text, kind);
      EXPECT_EQ(text.Str(), std::u16string(1, static_cast<char16_t>(wanted))) << CWString(name).ToUtf8();
    }
  }
  for (const auto& [name, code] : kStandardCodes)
    EXPECT_TRUE(inTable.count(name)) << "missing: " << CWString(name).ToUtf8() << " (" << code << ")";
}

}  // namespace
