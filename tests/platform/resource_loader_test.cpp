// The resource loader: embedded files by id, and registered bytes in their place.
#include <gtest/gtest.h>

#include "platform/resource_loader.h"

TEST(ResourceLoader, EmbeddedFileIsFoundByItsId) {
  // The pinyin character list: UTF-16LE, starting with U+3007 and U+3400.
  const CQzuMem bytes = LoadResourceBytes(505);
  ASSERT_GT(bytes.GetSize(), 4u);
  EXPECT_EQ(bytes.View().substr(0, 4), std::string_view("\x07\x30\x00\x34", 4));
  EXPECT_TRUE(LoadResourceBytes(12345).IsEmpty());
}

TEST(ResourceLoader, RegisteredBytesTakePrecedenceUntilRemoved) {
  static const char data[] = "override";
  const CQzuMem embedded = LoadResourceBytes(505);
  RegisterResource(505, data, 8);
  EXPECT_EQ(LoadResourceBytes(505).View(), "override");
  RegisterResource(505, nullptr, 0);
  EXPECT_TRUE(LoadResourceBytes(505) == embedded);
}
