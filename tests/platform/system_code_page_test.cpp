#include <gtest/gtest.h>

#include "platform/system_code_page.h"

TEST(SystemCodePage, DefaultsTo936AndCanBeSet) {
  EXPECT_EQ(GetSystemCodePage(), 936);
  SetSystemCodePage(437);
  EXPECT_EQ(GetSystemCodePage(), 437);
  SetSystemCodePage(936);
}
