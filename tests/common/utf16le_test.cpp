// Texts from UTF-16LE buffers: a large buffer taken into a text gives its
// memory back as it is copied, and the text is still the whole buffer.
#include <gtest/gtest.h>

#include <string>

#include "common/utf16le.h"

namespace {

TEST(Utf16Le, TakingALargeBufferGivesTheWholeText) {
  for (const size_t units : {size_t{5}, size_t{3} << 20, (size_t{40} << 20) / 2 + 3}) {
    std::u16string expected(units, u'\0');
    for (size_t i = 0; i < units; ++i) expected[i] = static_cast<char16_t>(0x4E00 + i * 7919 % 0x5000);
    CQzuMem bytes = Utf16LeBytesOf(expected);
    const CWString text = TakeTextOfUtf16Le(bytes);
    EXPECT_TRUE(text.Str() == expected) << units;
    EXPECT_TRUE(bytes.IsEmpty());
  }
}

}  // namespace
