// A program named in the input box is refused with a word in the title, as
// the batch skips it: the result editor keeps what it held.
#include <gtest/gtest.h>

#include "main_window_settings_fixture.h"
#include "test_support.h"

using namespace rg_Ombrine_app;

namespace qzu_test {
namespace {

TEST_F(MainWindowWithSettings, AProgramNamedInTheInputBoxIsRefused) {
  Window& w = OpenWithSettings();
  const auto program = folder.path() / "program";
  WriteFileText(program, ReadFileText("/bin/true"));
  w.ResultEditor.SetCodeEditText(u"earlier result");
  w.InputEditor.SetCodeEditText(CWString::FromSystemPath(program.string()));
  Click(w.EncodeButton);
  EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), "earlier result");
  EXPECT_TRUE(w.GetCaption().EndsWith(u"非文本文件，未转换")) << w.GetCaption().ToUtf8();
  // A text file next clears the hint.
  const auto text = folder.path() / "text.txt";
  WriteFileText(text, "\xD6\xD0\xCE\xC4");
  w.InputEditor.SetCodeEditText(CWString::FromSystemPath(text.string()));
  Click(w.EncodeButton);
  EXPECT_EQ(w.ResultEditor.GetCodeEditText().ToUtf8(), "中文");
  EXPECT_FALSE(w.GetCaption().Contains(u"非文本文件")) << w.GetCaption().ToUtf8();
  Discard();
}

}  // namespace
}  // namespace qzu_test
