// Opening an address with the shell, what a failure tells the user, and the
// key-state query.
#include "textlib/open_address.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/hooks.h"

namespace {

class FakeHooks : public IPlatformHooks {
 public:
  bool SetClipboardText(const CWString& text) override {
    clipboard = text;
    return true;
  }
  int MessageBox(const CWString& text, const CWString& caption, int style) override {
    boxes.push_back({text, caption, style});
    return kIdOk;
  }
  bool ShellOpen(const CWString& address, const CWString& parameters) override {
    opened = address;
    openedWith = parameters;
    return opens;
  }
  int16_t AsyncKeyState(int key) override {
    ++queries;
    // The first query reports only "pressed since the last query".
    if (key == tappedKey) return queries % 2 == 1 ? 1 : 0;
    if (key != heldKey) return 0;
    return queries % 2 == 1 ? 1 : static_cast<int16_t>(0x8000);
  }

  struct Box {
    CWString text, caption;
    int style;
  };
  bool opens = true;
  int heldKey = -1;
  int tappedKey = -1;
  int queries = 0;
  CWString clipboard, opened, openedWith;
  std::vector<Box> boxes;
};

class OpenAddressTest : public ::testing::Test {
 protected:
  void SetUp() override { previous = InstallPlatformHooks(&fake); }
  void TearDown() override { InstallPlatformHooks(previous); }
  FakeHooks fake;
  IPlatformHooks* previous = nullptr;
};

TEST_F(OpenAddressTest, OpensWithTheShell) {
  EXPECT_EQ(OpenAddress(u"https://example.org/a", u"-x"), 1);
  EXPECT_EQ(fake.opened, CWString(u"https://example.org/a"));
  EXPECT_EQ(fake.openedWith, CWString(u"-x"));
  EXPECT_TRUE(fake.boxes.empty());
  EXPECT_TRUE(fake.clipboard.IsEmpty());
}

TEST_F(OpenAddressTest, FailureCopiesTheAddressAndSaysWhereToPasteIt) {
  fake.opens = false;
  EXPECT_EQ(OpenAddress(u"https://example.org/a", u""), 0);
  EXPECT_EQ(fake.clipboard, CWString(u"https://example.org/a"));
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].caption, CWString(u"信息:"));
  EXPECT_EQ(fake.boxes[0].style, kMbIconInformation);
  EXPECT_EQ(fake.boxes[0].text,
            CWString(u"打开失败：https://example.org/a\r\n\r\n已将该地址复制，请手动到浏览器粘贴打开！"));

  EXPECT_EQ(OpenAddress(u"/home/li/文档", u""), 0);
  EXPECT_EQ(fake.clipboard, CWString(u"/home/li/文档"));
  ASSERT_EQ(fake.boxes.size(), 2u);
  EXPECT_EQ(fake.boxes[1].text, CWString(u"打开失败：/home/li/文档\r\n\r\n已将该地址复制，请手动到我的电脑粘贴打开！"));
}

TEST_F(OpenAddressTest, IsKeyDownAsksTwiceAndTrustsTheSecondAnswer) {
  fake.heldKey = 0x11;
  EXPECT_EQ(IsKeyDown(0x11), 1);
  EXPECT_EQ(fake.queries, 2);
  EXPECT_EQ(IsKeyDown(0x10), 0);
  // Pressed and released since the last query: not down now.
  fake.tappedKey = 0x12;
  EXPECT_EQ(IsKeyDown(0x12), 0);
}

}  // namespace
