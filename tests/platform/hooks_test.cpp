#include <gtest/gtest.h>

#include "platform/hooks.h"
#include "test_support.h"

namespace {

struct FakeHooks : IPlatformHooks {
  int pumps = 0;
  void PumpPendingMessages() override { ++pumps; }
  int16_t AsyncKeyState(int vk) override { return vk == 0x11 ? static_cast<int16_t>(0x8000) : 0; }
};

TEST(PlatformHooks, InstalledHooksReplaceTheDefaultsUntilRemoved) {
  FakeHooks fake;
  EXPECT_EQ(InstallPlatformHooks(&fake), nullptr);
  PumpPendingMessages();
  EXPECT_EQ(fake.pumps, 1);
  EXPECT_NE(GetAsyncKeyState(0x11), 0);
  EXPECT_EQ(GetAsyncKeyState(0x10), 0);
  EXPECT_EQ(InstallPlatformHooks(nullptr), &fake);
  PumpPendingMessages();
  EXPECT_EQ(fake.pumps, 1);
}

TEST(PlatformHooks, DefaultClipboardRoundTripsText) {
  const CWString text(u"剪贴板\U0001F600\r\n");
  EXPECT_TRUE(SetClipboardText(text));
  EXPECT_EQ(GetClipboardText(), text);
}

TEST(PlatformHooks, ProgramFolderCanBePointedElsewhere) {
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str() + "/"));
  EXPECT_EQ(GetProgramFolder().ToUtf8(), dir.str());
}

}  // namespace
