#include <gtest/gtest.h>

#include "platform/resource_loader.h"

TEST(ResourceLoader, EmbeddedFileIsFoundByItsId) {
  const CQzuMem bytes = LoadResourceBytes(999);
  EXPECT_EQ(bytes.View(), "hello resource");
  EXPECT_TRUE(LoadResourceBytes(12345).IsEmpty());
}

TEST(ResourceLoader, RegisteredBytesTakePrecedenceUntilRemoved) {
  static const char data[] = "override";
  RegisterResource(999, data, 8);
  EXPECT_EQ(LoadResourceBytes(999).View(), "override");
  RegisterResource(999, nullptr, 0);
  EXPECT_EQ(LoadResourceBytes(999).View(), "hello resource");
}
