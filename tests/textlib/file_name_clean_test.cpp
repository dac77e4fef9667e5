// Cleaning a text into a file name: reserved characters, breaks, and the
// length limits in units and UTF-8 bytes without splitting a pair.
#include "textlib/file_name_clean.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CWString Cleaned(const CWString& text, int reserved = 0) {
  CWString t = text;
  CleanFileName(t, reserved);
  return t;
}

TEST(CleanFileName, ReplacesReservedCharactersAndDropsBreaks) {
  EXPECT_EQ(Cleaned(u"a/b:c?"), CWString(u"a／b：c？"));
  EXPECT_EQ(Cleaned(u"\\*|<>\""), CWString(u"＼＊｜＜＞＂"));
  EXPECT_EQ(Cleaned(u"x\r\ny\tz"), CWString(u"xyz"));
  // A zero unit would cut the name short at the system call.
  EXPECT_EQ(Cleaned(std::u16string(u"a\0b\0", 4)), CWString(u"ab"));
  // Other control characters stay.
  EXPECT_EQ(Cleaned(std::u16string(u"a\x01" u"b")), CWString(std::u16string(u"a\x01" u"b")));
}

TEST(CleanFileName, CutsTo200UnitsAfterRemovingBreaks) {
  EXPECT_EQ(Cleaned(std::u16string(250, u'a')), CWString(std::u16string(200, u'a')));
  std::u16string withBreaks = std::u16string(100, u'a') + u"\r\n\r\n" + std::u16string(100, u'b');
  EXPECT_EQ(Cleaned(withBreaks), CWString(std::u16string(100, u'a') + std::u16string(100, u'b')));
}

TEST(CleanFileName, NeverSplitsASurrogatePair) {
  // 199 units, then a pair that straddles the 200-unit cut.
  std::u16string text = std::u16string(199, u'a') + u"\U0001F600" + u"b";
  CWString out = Cleaned(text);
  EXPECT_EQ(out, CWString(std::u16string(199, u'a')));
}

TEST(CleanFileName, KeepsNamesWithin255Utf8Bytes) {
  // 200 ideographs would be 600 bytes; 85 of them make 255.
  CWString out = Cleaned(std::u16string(200, u'汉'));
  EXPECT_EQ(out.GetLength(), 85u);
  EXPECT_EQ(out.ToUtf8().size(), 255u);
  // Room kept for an extension the caller appends.
  EXPECT_LE(Cleaned(std::u16string(200, u'汉'), 4).ToUtf8().size(), 251u);
  // Pairs (4 bytes each) are cut whole: 63 pairs = 252 bytes.
  std::u16string emoji;
  for (int i = 0; i < 100; ++i) emoji += u"\U0001F600";
  out = Cleaned(emoji);
  EXPECT_EQ(out.GetLength(), 126u);
  EXPECT_EQ(out.ToUtf8().size(), 252u);
  // Bytes of a name that is not UTF-8 count as the one byte each they are.
  EXPECT_EQ(Cleaned(std::u16string(250, u'\xDCD6')).GetLength(), 200u);
  EXPECT_EQ(Cleaned(std::u16string(100, u'\xDCD6') + std::u16string(100, u'汉')).ToSystemPath().size(), 253u);
}

}  // namespace
