// A Word-to-text batch through the real main window and the real office: the
// folder choice walks the Word documents of a folder, whatever the filter edit
// says, and their texts land in the result tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "app/word_automation_adapter.h"
#include "app/word_documents.h"
#include "batch_window_fixture.h"
#include "platform/office_engine.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;
using qzu_test::W;

namespace {

class BatchWindowOffice : public qzu_test::BatchWindowFixture {
 protected:
  static void TearDownTestSuite() { OfficeEngineShutdown(); }

  // Documents "<name>.docx" in `folder`, written by the office itself, each
  // holding `prefix` and its name.
  void WriteDocuments(const fs::path& folder, std::initializer_list<const char*> names, const CWString& prefix) {
    rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei automation;
    WordAutomationAdapter adapter(automation);
    WordDocuments word(&adapter, *window);
    ConversionOptions options;
    options.function = ConversionFunction::WordToText;
    ASSERT_TRUE(word.EnsureWordEngine(options)) << "the office did not start";
    for (const char* name : names) {
      CWString text = prefix + CWString::FromUtf8(name);
      ASSERT_EQ(word.TextToWordFile(text, W(folder / (std::string(name) + ".docx")), options),
                CWString(WordDocuments::kSaved));
    }
    automation.CloseAllWordDocuments();
  }
};

TEST_F(BatchWindowOffice, WordDocumentsOfAChosenFolderBecomeTexts) {
  const fs::path p = tree.path() / "P";
  fs::create_directories(p);
  ASSERT_NO_FATAL_FAILURE(WriteDocuments(p, {"一", "二"}, u"文档"));
  qzu_test::WriteFileText(p / "notes.txt", "not a document");

  Tap(window->WordToTextToggle);
  ASSERT_EQ(window->BatchEncodeButton.GetButtonText(), u"批量到TXT");
  chosen = W(p);
  Click(window->BatchEncodeButton);

  for (const char* name : {"一", "二"}) {
    const std::string text = qzu_test::ReadFileText(p / "转换结果" / (std::string(name) + ".txt"));
    EXPECT_NE(text.find("文档" + std::string(name)), std::string::npos) << name << ": " << text;
  }
  EXPECT_FALSE(fs::exists(p / "转换结果" / "notes.txt"));
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 2 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();
}

// The office goes away during a batch and cannot be started again: the file
// in flight fails with nothing written for it, the batch stops there, and
// the summary says why.
TEST_F(BatchWindowOffice, AnOfficeLostDuringTheBatchFailsItsFileAndStopsTheBatch) {
  const fs::path p = tree.path() / "P";
  fs::create_directories(p);
  ASSERT_NO_FATAL_FAILURE(WriteDocuments(p, {"a", "b", "c"}, u"document "));
  Tap(window->WordToTextToggle);
  // Before the second document: the office ends, and no office is there to
  // start again.
  hooks.onPump = [&](int) {
    if (fs::exists(p / "转换结果" / "a.txt") && OfficeEngineIsRunning()) {
      OfficeEngineShutdown();
      SetOfficeProgram((tree.path() / "no-office" / "soffice.bin").string());
    }
  };
  chosen = W(p);
  Click(window->BatchEncodeButton);
  hooks.onPump = nullptr;
  SetOfficeProgram("");

  EXPECT_NE(qzu_test::ReadFileText(p / "转换结果" / "a.txt").find("document a"), std::string::npos);
  EXPECT_FALSE(fs::exists(p / "转换结果" / "b.txt"));
  EXPECT_FALSE(fs::exists(p / "转换结果" / "c.txt"));
  ASSERT_EQ(hooks.boxes.size(), 2u);
  EXPECT_EQ(hooks.boxes[0].text, CWString(WordDocuments::kEngineFailed));
  const CWString& summary = hooks.boxes[1].text;
  EXPECT_EQ(summary.Str().rfind(u"已转换 1 个！失败 1 个！用时 ", 0), 0u) << summary.ToUtf8();
  EXPECT_NE(summary.Find(u"\r\n批量操作已停止：初始化Word失败！\r\n失败的文件：\r\n  b.docx\r\n"), -1)
      << summary.ToUtf8();
}

}  // namespace
