// Html to text: tag names, the tag filter, cleaning text lines, and a whole
// page through the tool's layouts.
#include "textlib/html_to_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::u16string kIndent = u"\u3000\u3000";
const CWString kElements(u"head,script,style,object,select,code,button");

TEST(ExtractTagName, NamesOfTagTexts) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"<P class=\"x\">", u"P"},
      {u"</p>", u"p"},
      {u"<p>", u"p"},
      {u"<img\r\nsrc=1>", u"img"},
      {u"<br/>", u"br"},
      {u"<br />", u"br"},
      {u"<!-- note -->", u"!--"},
      {u"<!doctype html>", u"!doctype"},
      {u"<y <p>", u"y"},
      {u"<>", u""},
      {u"<p", u"p"},  // neither space nor ">": up to the end
      {u"", u""},
  };
  for (const auto& [tag, want] : cases) {
    CWString t(tag);
    ExtractTagName(t);
    EXPECT_EQ(t.Str(), want) << CWString(tag).ToUtf8();
  }
}

struct FilterCase {
  const char* name;
  std::u16string input, removeList, keepList, elementList, replacement, want;
};

TEST(FilterHtmlTags, RemovesElementsAndTagsAsAsked) {
  const std::vector<FilterCase> cases = {
      {"keep img", u"<p>a<img src=1>b</p>", u"", u"img", u"", u"", u"a<img src=1>b"},
      {"remove only p", u"<p><b>x</b></p>", u"p", u"", u"", u"", u"<b>x</b>"},
      {"remove list wins over keep list", u"<p><b>x</b></p>", u"b", u"p", u"", u"", u"<p>x</p>"},
      {"case-insensitive names, case kept", u"<P>A</P><p>b</p><B>C</B>", u"p", u"", u"", u"", u"Ab<B>C</B>"},
      {"upper-case list item never matches", u"<p>a</p>", u"P", u"", u"", u"", u"<p>a</p>"},
      {"script with < inside", u"<script>if (a<b) x();</script>t", u"", u"", u"script", u"", u"t"},
      {"element without end tag stays for the tag pass", u"<script>x<p>y", u"", u"", u"script", u"", u"xy"},
      {"nested listed elements", u"<head><style>s</style>h</head>b", u"", u"", u"head,style", u"", u"b"},
      {"inner listed first", u"<head><style>s</style>h</head>b", u"", u"", u"style,head", u"", u"b"},
      {"same element nested: first end tag closes", u"<code>a<code>b</code>c</code>d", u"-1", u"", u"code", u"",
       u"c</code>d"},
      {"prefix match of element name", u"<header>x</header><head>y</head>z", u"-1", u"", u"head", u"", u"z"},
      {"replacement per tag", u"a<b>c</b>d", u"", u"", u"", u"|", u"a|c|d"},
      {"adjacent tags share one replacement", u"a<b><i>c", u"", u"", u"", u"|", u"a|c"},
      {"-1 removes only elements", u"<p>a<script>s</script>b</p>", u"-1", u"", u"script", u"", u"<p>ab</p>"},
      {"-1 and no elements: unchanged", u"<p>a</p>", u"-1", u"", u"", u"|", u"<p>a</p>"},
      {"stray < extends the tag", u"x<y <p>z", u"", u"", u"", u"", u"xz"},
      {"stray < named y: kept when y is kept", u"x<y <p>z", u"", u"y", u"", u"", u"x<y <p>z"},
      {"< without > stays text", u"a < b", u"", u"", u"", u"", u"a < b"},
      {"> alone stays text", u"a > b<i>c", u"", u"", u"", u"", u"a > bc"},
      {"comment removed whole", u"a<!-- <p>x</p> -->b", u"", u"", u"", u"", u"ab"},
      {"comment kept by name", u"a<!-- c -->b<p>", u"", u"!--", u"", u"", u"a<!-- c -->b"},
      {"comment without blank is named by its text", u"a<!--c-->b", u"", u"!--", u"", u"", u"ab"},
      {"doctype removed", u"<!DOCTYPE html>t", u"", u"", u"", u"", u"t"},
      {"list items trimmed, empties dropped", u"<p><b>x</b><i>y</i></p>", u" b ,, i ", u"", u"", u"", u"<p>xy</p>"},
      {"blank keep list removes every tag", u"<p>a<img>", u"", u" , ", u"", u"", u"a"},
      {"remove list of blanks and commas removes no tag", u"<p>a<img>", u" ,, ", u"", u"", u"", u"<p>a<img>"},
      {"empty input", u"", u"", u"img", kElements.Str(), u"|", u""},
      {"no tags", u"plain & simple", u"", u"", kElements.Str(), u"", u"plain & simple"},
  };
  for (const FilterCase& c : cases) {
    CWString text(c.input);
    FilterHtmlTags(text, CWString(c.removeList), CWString(c.keepList), CWString(c.elementList),
                   CWString(c.replacement));
    EXPECT_EQ(text.ToUtf8(), CWString(c.want).ToUtf8()) << c.name;
  }
}

TEST(CleanTextLines, IndentsParagraphs) {
  const std::vector<FilterCase> cases = {
      // name, input, prefix (as removeList), suffix (as keepList), -, -, want
      {"p wrap", u"a\r\n\r\nb", u"<p>", u"</p>", u"", u"",
       u"<p>" + kIndent + u"a</p>\r\n\r\n<p>" + kIndent + u"b</p>"},
      {"blank lines only", u" \r\n\t\r\n\u3000", u"", u"", u"", u"", u""},
      {"empty", u"", u"<p>", u"</p>", u"", u"", u""},
      {"trims blanks incl. nbsp and ideographic", u"\u00A0 x \u3000\ny", u"", u"", u"", u"",
       kIndent + u"x\r\n\r\n" + kIndent + u"y"},
      {"lone CR breaks", u"a\rb", u"", u"", u"", u"", kIndent + u"a\r\n\r\n" + kIndent + u"b"},
      {"CR LF present: lone LF stays inside", u"a\nb\r\nc", u"", u"", u"", u"",
       kIndent + u"a\nb\r\n\r\n" + kIndent + u"c"},
  };
  for (const FilterCase& c : cases) {
    CWString text(c.input);
    CleanTextLines(text, CWString(c.removeList), CWString(c.keepList));
    EXPECT_EQ(text.ToUtf8(), CWString(c.want).ToUtf8()) << c.name;
  }
}

TEST(CleanTextLines, OwnOutputIsAFixedPoint) {
  CWString text(u"  first line\n\n\tsecond\n   \nthird  ");
  CleanTextLines(text, CWString(), CWString());
  const CWString once = text;
  CleanTextLines(text, CWString(), CWString());
  EXPECT_EQ(text, once);
}

CWString LoadFixturePage() {
  const char* folder = std::getenv("QZU_TEST_FIXTURES");
  const std::string base = folder ? folder : "tests/fixtures";
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(base + "/html_to_text_page.html");
  return CWString::FromUtf8(std::string(bytes.begin(), bytes.end()));
}

// The page through the filter, as the tool's layouts use it: all tags go
// except img when images are kept, the listed elements go with their content.
CWString FilterPage(const CWString& keepList) {
  CWString text = LoadFixturePage();
  FilterHtmlTags(text, CWString(), keepList, kElements, CWString());
  return text;
}

const std::u16string kImg = u"<IMG src=\"pic.png\" alt=\"图\">";

TEST(HtmlToTextPage, BasicLayoutRemovesMarkupAndKeepsLines) {
  const CWString page = LoadFixturePage();
  ASSERT_FALSE(page.IsEmpty());
  const CWString text = FilterPage(CWString());
  const std::u16string want =
      u"\n"                        // doctype
      u"\n"                        // html
      u"\n"                        // head, with title, meta and style
      u"\n"                        // body
      u"\n"                        // comment holding a p element
      u"标题 Title\n"              // h1 whose tag spans two lines
      u"第一段 粗体 斜体 文字&nbsp;&lt;tag&gt;\n"
      u"第二段换行后\n"
      u"\n"                        // script with < and > inside
      u" 图片说明\n"
      u"\n"                        // select and its option
      u"    \n"
      u"   末段 &copy; 2024   \n"
      u"\n"
      u"\n";
  EXPECT_EQ(text.ToUtf8(), CWString(want).ToUtf8());
}

TEST(HtmlToTextPage, TypesetLayouts) {
  struct Layout {
    const char* name;
    std::u16string keep, prefix, suffix;
    std::vector<std::u16string> paragraphs;
  };
  const std::vector<Layout> layouts = {
      {"typeset", u"", u"", u"",
       {u"标题 Title", u"第一段 粗体 斜体 文字&nbsp;&lt;tag&gt;", u"第二段换行后", u"图片说明", u"末段 &copy; 2024"}},
      {"typeset with images", u"img", u"", u"",
       {u"标题 Title", u"第一段 粗体 斜体 文字&nbsp;&lt;tag&gt;", u"第二段换行后", kImg + u" 图片说明",
        u"末段 &copy; 2024"}},
      {"typeset with images in p", u"img", u"<p>", u"</p>",
       {u"标题 Title", u"第一段 粗体 斜体 文字&nbsp;&lt;tag&gt;", u"第二段换行后", kImg + u" 图片说明",
        u"末段 &copy; 2024"}},
  };
  for (const Layout& layout : layouts) {
    CWString text = FilterPage(CWString(layout.keep));
    CleanTextLines(text, CWString(layout.prefix), CWString(layout.suffix));
    std::u16string want;
    for (const std::u16string& p : layout.paragraphs) {
      if (!want.empty()) want += u"\r\n\r\n";
      want += layout.prefix + kIndent + p + layout.suffix;
    }
    EXPECT_EQ(text.ToUtf8(), CWString(want).ToUtf8()) << layout.name;
  }
}

TEST(HtmlToTextPage, RemoveListTakesOnlyNamedTags) {
  CWString text = LoadFixturePage();
  FilterHtmlTags(text, CWString(u"p, b ,i,!--"), CWString(), CWString(), CWString());
  const std::string out = text.ToUtf8();
  // Named tags gone, whatever their case in the page; the rest stays.
  EXPECT_EQ(out.find("<p>"), std::string::npos);
  EXPECT_EQ(out.find("<b>"), std::string::npos);
  EXPECT_EQ(out.find("<!--"), std::string::npos);
  EXPECT_NE(out.find("<H1\nclass=\"title\">标题 Title</H1>"), std::string::npos);
  EXPECT_NE(out.find("<div>第一段 粗体 斜体 文字&nbsp;&lt;tag&gt;\n第二段<br/>换行后</div>"), std::string::npos);
  EXPECT_NE(out.find("<script>"), std::string::npos);  // no element list: the script stays
  EXPECT_NE(out.find("<IMG src="), std::string::npos);
}

// Random markup fragments with random lists: nothing is added (the
// replacement is empty), and text without "<" is left alone. Under the
// sanitizer build this also walks the odd "<" and ">" arrangements.
TEST(FilterHtmlTags, RandomFragmentsOnlyLoseMarkup) {
  std::mt19937 random(7);
  const std::u16string alphabet = u"<<>>/!-ab \n";
  const std::vector<std::u16string> lists = {u"", u"a", u"b,a", u"-1", u"!--", u" a , "};
  for (int round = 0; round < 5000; ++round) {
    std::u16string input;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) input += alphabet[random() % alphabet.size()];
    CWString text(input);
    FilterHtmlTags(text, CWString(lists[random() % lists.size()]), CWString(lists[random() % lists.size()]),
                   CWString(lists[random() % lists.size()]), CWString());
    ASSERT_LE(text.GetLength(), input.size()) << round;
    if (input.find(u'<') == std::u16string::npos) {
      ASSERT_EQ(text.Str(), input) << round;
    }
  }
}

// The tag end taken literally: a ">" closes the tag only when the last "<"
// before it is the tag's current opening; otherwise the opening moves to that
// "<" and the first ">" seen is kept as the fallback end.
size_t LiteralTagEnd(const std::u16string& t, size_t s) {
  size_t open = s, firstEnd = 0, from = s + 1;
  for (;;) {
    const size_t g = t.find(u'>', from);
    if (g == std::u16string::npos) return firstEnd;
    const size_t lastLt = t.rfind(u'<', g);
    if (lastLt == open) return g + 1;
    if (firstEnd == 0) firstEnd = g + 1;
    open = lastLt;
    from = g + 1;
  }
}

std::u16string LiteralStripTags(const std::u16string& t, const std::u16string& replacement) {
  std::vector<std::pair<size_t, size_t>> ranges;
  for (size_t from = 0;;) {
    const size_t s = t.find(u'<', from);
    if (s == std::u16string::npos) break;
    const size_t end = LiteralTagEnd(t, s);
    if (end == 0) break;
    if (!ranges.empty() && ranges.back().second == s)
      ranges.back().second = end;  // touching pieces share one replacement
    else
      ranges.emplace_back(s, end);
    from = end;
  }
  std::u16string out;
  size_t copy = 0;
  for (const auto& [a, b] : ranges) {
    out += t.substr(copy, a - copy) + replacement;
    copy = b;
  }
  return out + t.substr(copy);
}

TEST(FilterHtmlTags, StrayLessThanSignsMatchTheLiteralTagEnd) {
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::u16string input;
    const int length = static_cast<int>(random() % 30);
    for (int i = 0; i < length; ++i) input += u"<<>>ab"[random() % 6];
    CWString text(input);
    FilterHtmlTags(text, CWString(), CWString(), CWString(), CWString(u"|"));
    ASSERT_EQ(text.ToUtf8(), CWString(LiteralStripTags(input, u"|")).ToUtf8()) << CWString(input).ToUtf8();
  }
  // Every stray "<" runs to the end of the text without finding a clean ">",
  // so each falls back to its first ">": "< y <b>" is one tag.
  const std::u16string piece = u"x < y <b>bold</b> ";
  ASSERT_EQ(LiteralStripTags(piece + piece, u"|"), u"x |bold| x |bold| ");
  std::u16string page, want;
  for (int i = 0; i < 20000; ++i) {
    page += piece;
    want += u"x |bold| ";
  }
  CWString text(page);
  FilterHtmlTags(text, CWString(), CWString(), CWString(), CWString(u"|"));
  EXPECT_TRUE(text.Str() == want);
}

}  // namespace
