// What the Base64 decode takes and what it says of a text it refuses: pieces
// one a line, as the encode of a list writes them, decode back; a letter
// after the padding on its line and a unit outside the alphabet are named
// for what they are.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/text_bytes.h"

using namespace rg_Ombrine_app;

namespace {

std::string Decoded(const std::u16string& text) { return std::string(Base64Decode(CWString(text)).View()); }

}  // namespace

TEST(Base64Text, PiecesOnTheirOwnLinesDecodeOneAfterAnother) {
  struct Case {
    const char* name;
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {"two padded pieces", u"YQ==\r\nYg==", "ab"},
      {"three pieces, LF and blanks", u"YQ==\n  YWI=\n YWJj", "aababc"},
      {"one piece wrapped anywhere", u"YW\r\nJjZ\r\nA==", "abcd"},
      {"a last group without padding", u"YWJjZA", "abcd"},
      {"blank", u" \r\n\t", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindBase64Fault(c.text).kind, Base64Fault::kNone) << c.name;
    EXPECT_EQ(Decoded(c.text), c.bytes) << c.name;
  }

  // What the encode writes for the lines of a list decodes back to their
  // bytes, whatever their lengths.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string all;
    CWString lines;
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
      std::string bytes(random() % 7, '\0');
      for (char& b : bytes) b = static_cast<char>(random());
      all += bytes;
      if (i > 0) lines += u"\r\n";
      lines += Base64Of(CQzuMem(bytes.data(), bytes.size()));
    }
    ASSERT_EQ(FindBase64Fault(lines.View()).kind, Base64Fault::kNone) << lines.ToUtf8();
    EXPECT_EQ(std::string(Base64Decode(lines).View()), all) << lines.ToUtf8();
  }
}

TEST(Base64Text, ARefusedTextIsToldWhatIsWrongWithIt) {
  struct Case {
    const char* name;
    std::u16string text;
    Base64Fault::Kind kind;
    size_t position;
    std::u16string said;  // a part of the message
  };
  const Case cases[] = {
      {"letters after the padding", u"SGVsbG8=abc", Base64Fault::kDataAfterPadding, 8,
       u"第9个字符“a”在同一行的结尾“=”之后"},
      {"a second piece on the padding's line", u"YQ== Yg==", Base64Fault::kDataAfterPadding, 5, u"第6个字符“Y”"},
      {"a unit outside the alphabet", u"YWJj!", Base64Fault::kForeignUnit, 4, u"第5个字符“!”不属于Base64字符"},
      {"a character of two units", u"YW😀", Base64Fault::kForeignUnit, 2, u"第3个字符“😀”不属于Base64字符"},
  };
  for (const Case& c : cases) {
    const Base64Fault fault = FindBase64Fault(c.text);
    EXPECT_EQ(fault.kind, c.kind) << c.name;
    EXPECT_EQ(fault.position, c.position) << c.name;
    const CWString message = NotBase64Message(CWString(c.text), fault);
    EXPECT_TRUE(message.StartsWith(u"输入的内容不是Base64编码：")) << c.name;
    EXPECT_TRUE(message.Contains(c.said)) << c.name << ": " << message.ToUtf8();
    EXPECT_TRUE(message.EndsWith(u"未解码，也未写出任何文件。")) << c.name;
  }
}
