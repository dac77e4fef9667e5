// The Scintilla host: text in and out as UTF-8, messages by number, and
// notifications reaching the listener.
#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>

#include <string>

#include "framework/scintilla_host.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

struct Notes : IScintillaEventListener {
  std::vector<QzuScintillaNotification> seen;
  std::vector<std::string> texts;
  intptr_t OnScintillaNotification(const QzuScintillaNotification& n) override {
    seen.push_back(n);
    texts.emplace_back(n.text && n.length > 0 ? std::string(n.text, static_cast<size_t>(n.length)) : std::string());
    return 0;
  }
};

class ScintillaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
    ASSERT_EQ(edit.Create(&form, 0, 0, 300, 200), 1);
  }
  void TearDown() override { form.DestroyWindow(); }
  CQzuWinForm form;
  rg_scintilla_edit edit;
};

}  // namespace

TEST_F(ScintillaTest, ChineseAndEmojiGoInAndComeOutUnchanged) {
  const CWString text = u"中國ABC123\r\n😀汉字";
  edit.SetText(text);
  EXPECT_EQ(edit.GetText(), text);
  // The editor holds UTF-8: SCI_GETLENGTH counts its bytes.
  EXPECT_EQ(edit.Send(2183), static_cast<intptr_t>(text.ToUtf8().size()));
  edit.SetText(u"中國ABC123");
  EXPECT_EQ(edit.Send(2183), 12);
  edit.SetText(u"");
  EXPECT_EQ(edit.GetText(), u"");
}

TEST_F(ScintillaTest, AZeroUnitEndsTheTextOnTheWayIn) {
  const char16_t units[] = {u'a', u'b', 0, u'c'};
  edit.SetText(CWString(units, 4));
  EXPECT_EQ(edit.GetText(), u"ab");
}

TEST_F(ScintillaTest, DirectFunctionAnswersLikeTheSendFunction) {
  CVWnd_Scintilla* host = edit.Host();
  ASSERT_NE(host->DirectFunction(), nullptr);
  ASSERT_NE(host->DirectPointer(), 0);
  const std::string bytes = CWString(u"编码😀").ToUtf8();
  host->DirectFunction()(host->DirectPointer(), 2181, 0, reinterpret_cast<intptr_t>(bytes.c_str()));
  EXPECT_EQ(host->GetTextUtf8(), bytes);
  EXPECT_EQ(host->Send(2137), 65001);  // SCI_GETCODEPAGE
}

TEST(ScintillaWithoutWindow, TextOperationsDoNothing) {
  rg_scintilla_edit edit;
  edit.SetText(u"中");
  EXPECT_EQ(edit.GetText(), u"");
  EXPECT_EQ(edit.Send(2183), 0);
  EXPECT_EQ(edit.Host()->DirectFunction(), nullptr);
}

TEST_F(ScintillaTest, InsertionsReachTheListenerWithTheirUtf8Text) {
  Notes notes;
  edit.Host()->SetListener(&notes);
  const std::string bytes = CWString(u"字a").ToUtf8();
  edit.Send(2001, bytes.size(), reinterpret_cast<intptr_t>(bytes.c_str()));  // SCI_ADDTEXT
  bool inserted = false;
  for (size_t i = 0; i < notes.seen.size(); ++i) {
    if (notes.seen[i].code == kScnModified && (notes.seen[i].modificationType & 0x1)) {
      inserted = true;
      EXPECT_EQ(notes.texts[i], bytes);
      EXPECT_EQ(notes.seen[i].length, 4);
      EXPECT_EQ(notes.seen[i].position, 0);
    }
  }
  EXPECT_TRUE(inserted);
  edit.Host()->SetListener(nullptr);
  const size_t before = notes.seen.size();
  edit.Send(2001, 1, reinterpret_cast<intptr_t>("b"));
  EXPECT_EQ(notes.seen.size(), before);
}

// Wrapping a text above the limit would lay all of it out while it is set:
// such a text is shown unwrapped, the wrap mode asked for stays what the
// editor answers, and it applies again to a smaller text.
TEST_F(ScintillaTest, TextsAboveTheWrapLimitAreShownUnwrapped) {
  constexpr unsigned kSetWrapMode = 2268, kGetWrapMode = 2269;
  constexpr int kWrapChar = 2;
  QsciScintilla* editor = edit.Host()->Editor();
  const auto actual = [editor] { return editor->SendScintilla(kGetWrapMode); };
  edit.Send(kSetWrapMode, kWrapChar);
  EXPECT_EQ(actual(), kWrapChar);

  std::u16string big(kScintillaWrapTextLimit / 2 + 8, u'字');  // 3 UTF-8 bytes each
  edit.SetText(CWString(big));
  EXPECT_EQ(actual(), 0);
  EXPECT_TRUE(edit.Host()->WrapHeldForSize());
  EXPECT_EQ(edit.Send(kGetWrapMode), kWrapChar);
  EXPECT_EQ(edit.GetText().GetLength(), big.size());
  // Asked again while held: remembered, not applied.
  edit.Send(kSetWrapMode, 1);
  EXPECT_EQ(actual(), 0);

  edit.SetText(u"中國ABC123");
  EXPECT_EQ(actual(), 1);
  EXPECT_FALSE(edit.Host()->WrapHeldForSize());

  // Without a wrap mode asked for, nothing changes for a big text.
  edit.Send(kSetWrapMode, 0);
  edit.SetText(CWString(big));
  EXPECT_EQ(actual(), 0);
  EXPECT_FALSE(edit.Host()->WrapHeldForSize());
}
