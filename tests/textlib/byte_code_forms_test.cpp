// Bytes as hexadecimal and decimal texts both ways, yes/no texts and elapsed
// times: tables of cases, a round trip and random input.
#include <gtest/gtest.h>

#include <random>

#include "test_support.h"
#include "textlib/byte_code_forms.h"

using qzu_test::ToHex;

namespace {

TEST(HexTextToBytes, Cases) {
  const struct {
    const char* name;
    const char16_t* text;
    const char* bytes;
  } cases[] = {
      {"both letter cases", u"4a4B", "4A 4B"},
      {"odd last character ignored", u"414", "41"},
      {"bad first digit gives high F", u"G1", "F1"},
      {"bad second digit gives FF", u"1G", "FF"},
      {"blanks count as characters", u"41 42", "41 F4"},
      {"single character", u"4", ""},
      {"empty", u"", ""},
      {"null", nullptr, ""},
      {"all digits", u"0123456789abcdefABCDEF", "01 23 45 67 89 AB CD EF AB CD EF"},
  };
  for (const auto& c : cases) {
    CQzuMem bytes;
    EXPECT_EQ(&HexTextToBytes(c.text, bytes), &bytes);
    EXPECT_EQ(ToHex(bytes), c.bytes) << c.name;
  }
}

TEST(HexTextToBytes, AppendsToWhatIsThere) {
  CQzuMem bytes("\x01", 1);
  HexTextToBytes(CWString(u"FF00").View(), bytes);
  EXPECT_EQ(ToHex(bytes), "01 FF 00");
}

TEST(BytesToHexText, UpperCasePairsWithoutSeparators) {
  EXPECT_EQ(BytesToHexText(qzu_test::MemFromHex("00 0F A0 FF 5c")), u"000FA0FF5C");
  EXPECT_EQ(BytesToHexText(CQzuMem()), u"");
}

TEST(BytesToDecimalList, Cases) {
  const struct {
    std::vector<uint8_t> bytes;
    const char16_t* text;
  } cases[] = {
      {{0x00, 0x41, 0xFF}, u"0,65,255"},
      {{}, u""},
      {{9, 10, 99, 100}, u"9,10,99,100"},
  };
  for (const auto& c : cases) {
    CWString text(u"old");
    BytesToDecimalList(CQzuMem(c.bytes.data(), c.bytes.size()), text);
    EXPECT_EQ(text, c.text);
  }
}

TEST(DecimalListToBytes, Cases) {
  const struct {
    const char* name;
    const char16_t* text;
    const char* bytes;
  } cases[] = {
      {"blanks and empty items", u"65, 66,,67", "41 42 43"},
      {"low 8 bits", u"256", "00"},
      {"negative", u"-1", "FF"},
      {"no digits", u"x", "00"},
      {"digits then letters", u"65abc", "41"},
      {"plus sign", u"+66", "42"},
      {"empty", u"", ""},
      {"only separators", u" , ,", ""},
      {"mend: too long saturates high", u"99999999999999999999999", "FF"},
      {"mend: too long saturates low", u"-99999999999999999999999", "00"},
      {"mend: beyond 32 bits saturates", u"4294967296", "FF"},
  };
  for (const auto& c : cases) {
    CQzuMem bytes("\x07", 1);  // replaced, not appended to
    DecimalListToBytes(CWString(c.text), bytes);
    EXPECT_EQ(ToHex(bytes), c.bytes) << c.name;
  }
}

TEST(ByteCodeForms, DecimalAndHexRoundTripsAndRandomInput) {
  std::mt19937 rng(7);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> raw(rng() % 50);
    for (uint8_t& b : raw) b = static_cast<uint8_t>(rng());
    const CQzuMem bytes(raw.data(), raw.size());
    CWString text;
    BytesToDecimalList(bytes, text);
    CQzuMem back;
    DecimalListToBytes(text, back);
    ASSERT_EQ(back, bytes);
    CQzuMem fromHex;
    ASSERT_EQ(HexTextToBytes(BytesToHexText(bytes).View(), fromHex), bytes);
    // Arbitrary units through the readers stay in bounds.
    std::u16string noise;
    for (size_t i = rng() % 30; i > 0; --i) noise += static_cast<char16_t>(rng() % 0x10000);
    CQzuMem sink;
    HexTextToBytes(std::u16string_view(noise), sink);
    EXPECT_EQ(sink.GetSize(), noise.size() / 2);
    DecimalListToBytes(CWString(noise), sink);
  }
}

TEST(BoolToText, Values) {
  EXPECT_EQ(BoolToText(true), u"1");
  EXPECT_EQ(BoolToText(false), u"0");
}

TEST(FormatElapsed, Cases) {
  const int64_t minute = 60000, hour = 60 * minute, day = 24 * hour;
  const struct {
    int64_t ms;
    const char16_t* text;
  } cases[] = {
      {0, u"0 毫秒"},
      {999, u"999 毫秒"},
      {1000, u"1 秒"},
      {1234, u"1.23 秒"},
      {1235, u"1.24 秒"},          // half away from zero
      {1500, u"1.5 秒"},
      {minute - 1, u"60 秒"},      // rounding after the unit is chosen
      {minute, u"1 分"},
      {90 * minute, u"1.5 时"},
      {day, u"1 天"},
      {90 * day, u"3 月"},
      {365 * day, u"1.01 年"},
      {-500, u"-500 毫秒"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatElapsed(c.ms), c.text) << c.ms;
}

}  // namespace
