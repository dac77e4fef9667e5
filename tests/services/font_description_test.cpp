// Font description texts: parsing, formatting, the flag words and the stream form.
#include <gtest/gtest.h>

#include "services/font_description.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1;
using rg_Tavelkin_MingLingJi::TextToBool;

namespace {

TEST(FontDescription, ParseAndFormat) {
  struct Case {
    const char16_t* text;
    const char16_t* formatted;
  };
  const Case cases[] = {
      {u"宋体,9", u"宋体, 9, 0, 0, 0, 0, 0"},
      {u" Arial , 10 , TRUE , 真 , false , x , -900 ", u"Arial, 10, 1, 1, 0, 0, -900"},
      {u"", u", 0, 0, 0, 0, 0, 0"},
      {u"a,1,1,1,1,1,5,extra,more", u"a, 1, 1, 1, 1, 1, 5"},  // only seven fields count
      {u"f, 99999999999, 0,0,0,0, -99999999999", u"f, 2147483647, 0, 0, 0, 0, -2147483648"},
  };
  for (const Case& c : cases) {
    rg_TavelkinZiTiLei1 font;
    font.extra = 7;
    font.ParseFontText(c.text);
    EXPECT_EQ(font.FormatFontText(), CWString(c.formatted)) << CWString(c.text).ToUtf8();
    EXPECT_EQ(font.extra, 7);  // not part of the text form
  }
  EXPECT_EQ(rg_TavelkinZiTiLei1().FormatFontText(), CWString(u"微软雅黑, 11, 0, 0, 0, 0, 0"));
  rg_TavelkinZiTiLei1 bold;
  bold.bold = 5;
  EXPECT_EQ(bold.FormatFontText(), CWString(u"微软雅黑, 11, 1, 0, 0, 0, 0"));
}

TEST(FontDescription, TextToBool) {
  for (const char16_t* t : {u"TRUE", u" 1 ", u"真", u"True"}) EXPECT_EQ(TextToBool(t), 1) << CWString(t).ToUtf8();
  for (const char16_t* t : {u"yes", u"2", u"", u"假", u"0", u"真 x"}) EXPECT_EQ(TextToBool(t), 0) << CWString(t).ToUtf8();
}

TEST(FontDescription, StreamCopyAndEquality) {
  rg_TavelkinZiTiLei1 font;
  font.ParseFontText(u"A, 12, 1, 0, 0, 1, 30");
  font.extra = 2;
  CQzuMemStream s;
  font.SaveToStream(s);
  EXPECT_EQ(qzu_test::ToHex(s.Buffer().GetData(), s.Buffer().GetSize()),
            qzu_test::ToHex(qzu_test::Hex("04000000 4100 0000  0C000000 01000000 00000000 00000000 01000000"
                                          " 1E000000 02000000")));
  s.Rewind();
  rg_TavelkinZiTiLei1 loaded;
  loaded.LoadFromStream(s);
  EXPECT_TRUE(loaded.IsEqual(font));
  rg_TavelkinZiTiLei1 copy;
  EXPECT_EQ(copy.CopyFrom(font), 1);
  EXPECT_TRUE(copy.IsEqual(font));
  copy.extra = 3;
  EXPECT_FALSE(copy.IsEqual(font));
  copy.Reset();
  EXPECT_EQ(copy.FormatFontText(), CWString(u"微软雅黑, 11, 0, 0, 0, 0, 0"));
}

}  // namespace
