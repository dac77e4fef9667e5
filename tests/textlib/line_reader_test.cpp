// The line reader: detected and given breaks, the break list, rewinding, and
// its object operations.
#include "textlib/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei;

namespace {

std::vector<std::u16string> ReadAll(rg_TavelkinDouRuYiHangLei& reader) {
  std::vector<std::u16string> lines;
  while (reader.HasMoreLines()) {
    CWString line;
    reader.ReadNextLine(line);
    lines.push_back(line.Str());
    if (lines.size() > 1000) break;  // a reader that stands still must not hang the test
  }
  return lines;
}

struct ReaderCase {
  const char* name;
  std::u16string text;
  std::u16string lineBreak;      // as given to SetLineSource
  std::u16string wantBreak;      // the break in use afterwards
  std::vector<std::u16string> wantLines;
};

TEST(LineReader, SplitsAtDetectedAndGivenBreaks) {
  const std::vector<ReaderCase> cases = {
      {"CRLF detected", u"a\r\nb\r\nc", u"", u"\r\n", {u"a", u"b", u"c"}},
      {"CR detected", u"a\rb\rc", u"", u"\r", {u"a", u"b", u"c"}},
      {"LF detected", u"a\nb\nc", u"", u"\n", {u"a", u"b", u"c"}},
      {"single char, no break", u"x", u"", u"\n", {u"x"}},
      {"CRLF wins over lone CR", u"a\rb\r\nc", u"", u"\r\n", {u"a\rb", u"c"}},
      {"CRLF wins over lone LF", u"a\nb\r\nc", u"", u"\r\n", {u"a\nb", u"c"}},
      {"CR wins over LF", u"a\nb\rc", u"", u"\r", {u"a\nb", u"c"}},
      {"given CRLF still detects", u"a\rb", u"\r\n", u"\r", {u"a", u"b"}},
      {"given LF keeps CR", u"a\rb", u"\n", u"\n", {u"a\rb"}},
      {"given LF on CRLF text", u"a\r\nb\r\n", u"\n", u"\n", {u"a\r", u"b\r"}},
      {"given CR on CRLF text", u"a\r\nb", u"\r", u"\r", {u"a", u"\nb"}},
      {"custom two bars", u"1||2||", u"||", u"||", {u"1", u"2"}},
      {"custom not present", u"a,b", u";", u";", {u"a,b"}},
      {"trailing break gives no empty line", u"a\r\nb\r\n", u"", u"\r\n", {u"a", u"b"}},
      {"double break gives empty line", u"a\r\n\r\nb", u"", u"\r\n", {u"a", u"", u"b"}},
      {"leading break", u"\nx", u"", u"\n", {u"", u"x"}},
      {"only a break", u"\n", u"", u"\n", {u""}},
      {"empty text", u"", u"", u"\n", {}},
      {"zero unit is data", std::u16string(u"a\0b\nc", 5), u"", u"\n", {std::u16string(u"a\0b", 3), u"c"}},
      {"long lines past the vector block", u"0123456789abcdefghij\n0123456789\r", u"\n", u"\n",
       {u"0123456789abcdefghij", u"0123456789\r"}},
  };
  for (const ReaderCase& c : cases) {
    rg_TavelkinDouRuYiHangLei reader;
    reader.sourceText = CWString(c.text);
    reader.SetLineSource(CWString(c.lineBreak));
    EXPECT_EQ(reader.lineBreak.Str(), c.wantBreak) << c.name;
    EXPECT_EQ(reader.breakLength, static_cast<int32_t>(c.wantBreak.size())) << c.name;
    EXPECT_EQ(reader.lastIndex, static_cast<int32_t>(c.text.size()) - 1) << c.name;
    EXPECT_EQ(ReadAll(reader), c.wantLines) << c.name;

    // The two-argument form reads the same lines.
    rg_TavelkinDouRuYiHangLei other;
    other.SetLineSource(CWString(c.text), CWString(c.lineBreak));
    std::vector<std::u16string> lines;
    while (other.HasMoreLines()) lines.push_back(other.ReadNextLine().Str());
    EXPECT_EQ(lines, c.wantLines) << c.name;
  }
}

TEST(LineReader, EndOfTextAndRewind) {
  rg_TavelkinDouRuYiHangLei reader;
  reader.SetLineSource(CWString(u"a\r\nb\r\n"), CWString());
  EXPECT_EQ(ReadAll(reader), (std::vector<std::u16string>{u"a", u"b"}));
  const int32_t end = reader.position;
  CWString line(u"stale");
  reader.ReadNextLine(line);
  EXPECT_TRUE(line.IsEmpty());
  EXPECT_EQ(reader.position, end);

  reader.position = 0;
  EXPECT_EQ(ReadAll(reader), (std::vector<std::u16string>{u"a", u"b"}));

  // SetLineSource rewinds as well.
  reader.SetLineSource(CWString(u"\r\n"));
  EXPECT_EQ(ReadAll(reader).size(), 2u);
}

TEST(LineReader, BreakListTakesTheEarliestItem) {
  rg_TavelkinDouRuYiHangLei reader;
  reader.SetLineSource(CWString(u"a;b,,c;d"), CWString(u";"));
  reader.breakList = rg_Ombrine_base::rg_WenBenShuZuLei{CWString(u";"), CWString(u",,")};
  reader.breakListMode = 1;
  EXPECT_EQ(ReadAll(reader), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  // SetLineSource leaves the break-list mode.
  reader.SetLineSource(CWString(u";"));
  EXPECT_EQ(reader.breakListMode, 0);
  EXPECT_EQ(ReadAll(reader), (std::vector<std::u16string>{u"a", u"b,,c", u"d"}));
}

TEST(LineReader, InconsistentMembersEndTheReading) {
  rg_TavelkinDouRuYiHangLei reader;
  reader.SetLineSource(CWString(u"ab"), CWString(u"\n"));
  reader.lastIndex = 100;  // claims more text than there is
  reader.position = 50;
  EXPECT_TRUE(reader.ReadNextLine().IsEmpty());
  EXPECT_FALSE(reader.HasMoreLines());

  reader.SetLineSource(CWString(u"a\nb"), CWString(u"\n"));
  reader.breakLength = 0;  // would stand still on the break
  EXPECT_EQ(ReadAll(reader), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(LineReader, ObjectOperationsCopyEveryMember) {
  rg_TavelkinDouRuYiHangLei reader;
  reader.SetLineSource(CWString(u"x|y|z"), CWString(u"|"));
  reader.ReadNextLine();
  reader.breakList = rg_Ombrine_base::rg_WenBenShuZuLei{CWString(u"|")};
  reader.spareText = CWString(u"spare");

  CQzuObject* clone = reader.Clone();
  ASSERT_NE(clone, nullptr);
  auto* copy = static_cast<rg_TavelkinDouRuYiHangLei*>(clone);
  EXPECT_FALSE(reader.IsEqual(*copy));
  EXPECT_TRUE(reader.IsEqual(reader));
  EXPECT_EQ(copy->position, reader.position);
  EXPECT_EQ(copy->breakList, reader.breakList);
  EXPECT_EQ(copy->spareText, reader.spareText);
  EXPECT_EQ(copy->ReadNextLine().Str(), u"y");
  clone->Release();

  CQzuMemStream stream;
  reader.SaveToStream(stream);
  CQzuMemStream readBack(stream.Buffer());
  rg_TavelkinDouRuYiHangLei loaded;
  loaded.LoadFromStream(readBack);
  EXPECT_EQ(readBack.GetError(), 0);
  EXPECT_EQ(loaded.sourceText, reader.sourceText);
  EXPECT_EQ(loaded.lineBreak, reader.lineBreak);
  EXPECT_EQ(loaded.position, reader.position);
  EXPECT_EQ(loaded.lastIndex, reader.lastIndex);
  EXPECT_EQ(loaded.breakList, reader.breakList);
  EXPECT_EQ(loaded.spareText, reader.spareText);
  EXPECT_EQ(loaded.ReadNextLine().Str(), u"y");

  CQzuMem truncated(stream.Buffer().GetData(), stream.Buffer().GetSize() - 1);
  CQzuMemStream shortStream(truncated);
  rg_TavelkinDouRuYiHangLei partial;
  partial.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);

  reader.Reset();
  EXPECT_TRUE(reader.sourceText.IsEmpty());
  EXPECT_TRUE(reader.breakList.IsEmpty());
  EXPECT_EQ(reader.position, 0);
  EXPECT_EQ(reader.lastIndex, 0);
}

}  // namespace
