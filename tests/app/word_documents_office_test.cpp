// The Word functions of the conversion through the real office: a text saved
// into a new .docx and read back.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/word_automation_adapter.h"
#include "app/word_documents.h"
#include "conversion_fakes.h"
#include "platform/office_engine.h"
#include "test_support.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

class WordDocumentsOffice : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { OfficeEngineShutdown(); }
  qzu_test::TempDir dir;
  rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei automation;
  WordAutomationAdapter adapter{automation};
  qzu_test::FakeHost host;
  WordDocuments word{&adapter, host};
  ConversionOptions options;
};

TEST_F(WordDocumentsOffice, TextSavedToANewDocumentReadsBack) {
  options.function = ConversionFunction::WordToText;
  ASSERT_TRUE(word.EnsureWordEngine(options)) << "the office did not start";
  const fs::path doc = dir.path() / "报告.docx";
  CWString text(u"第一段<br>第二段 second</p>");
  EXPECT_EQ(word.TextToWordFile(text, CWString::FromUtf8(doc.string()), options), CWString(WordDocuments::kSaved));
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(doc);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(qzu_test::ToHex(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), "50 4B 03 04");
  automation.CloseAllWordDocuments();

  const CWString back = word.WordFileToText(CWString::FromUtf8(doc.string()), options);
  // Paragraph marks come back as Word gives them: CR.
  EXPECT_TRUE(back.StartsWith(u"第一段\r第二段 second")) << back.ToUtf8();
  automation.CloseAllWordDocuments();
}

}  // namespace
