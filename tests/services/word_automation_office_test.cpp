// The Word automation object on real documents, through the headless office.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "common/stream.h"
#include "platform/office_engine.h"
#include "services/automation_call.h"
#include "services/word_automation.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei;
namespace fs = std::filesystem;

namespace {

CWString U(const fs::path& p) { return CWString::FromUtf8(p.string()); }

std::string Head(const fs::path& p, size_t n) {
  std::vector<uint8_t> bytes = qzu_test::ReadFile(p);
  if (bytes.size() > n) bytes.resize(n);
  return qzu_test::ToHex(bytes);
}

// What the application does with a started engine: hidden, limit 100.
void Prepare(rg_TavelkinWordWenDangJiCaoZuoLei& word) {
  ASSERT_EQ(word.StartWordEngine(), 1);
  EXPECT_EQ(ComPutProperty(word.application, u"Visible", CQzuComValue::FromBool(false)), 0);
  word.openLimit = 100;
}

// Writes `text` into a new document at `path` the way the application does.
void WriteDocument(const fs::path& path, const CWString& text) {
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  ASSERT_EQ(word.OpenWordDocument(U(path)), 1);
  CQzuComObject content;
  ASSERT_EQ(ComGetObject(word.currentDocument, u"Content", content), 0);
  ASSERT_EQ(ComPutProperty(content, u"Text", CQzuComValue::FromText(text)), 0);
  ASSERT_EQ(ComCallMethod(word.currentDocument, u"Save", {}), 0);
  word.CloseAllWordDocuments();
}

CWString ReadDocument(const fs::path& path) {
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  if (word.OpenWordDocument(U(path)) != 1) return CWString(u"<open failed>");
  CWString text = word.GetWordDocumentText();
  word.CloseAllWordDocuments();
  return text;
}

class WordAutomationOffice : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { OfficeEngineShutdown(); }
  qzu_test::TempDir dir;
};

}  // namespace

TEST_F(WordAutomationOffice, NewDocxFromTextReadsBackWithParagraphMarks) {
  const fs::path path = dir.path() / "新建" / "转换 结果.docx";
  {
    rg_TavelkinWordWenDangJiCaoZuoLei word;
    Prepare(word);
    ASSERT_EQ(word.OpenWordDocument(U(path)), 1);
    // The missing file (and its folder) were made empty for the open.
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    // A new document holds one empty paragraph, as Word's does.
    EXPECT_EQ(word.GetWordDocumentText(), CWString(u"\r"));
    CQzuComObject content;
    ASSERT_EQ(ComGetObject(word.currentDocument, u"Content", content), 0);
    ASSERT_EQ(ComPutProperty(content, u"Text", CQzuComValue::FromText(u"第一段 ABC\r\n第二段\r第三段\n末行")), 0);
    ASSERT_EQ(ComCallMethod(word.currentDocument, u"Save", {}), 0);
    word.CloseAllWordDocuments();
  }
  EXPECT_EQ(Head(path, 4), "50 4B 03 04");
  EXPECT_EQ(ReadDocument(path), CWString(u"第一段 ABC\r第二段\r第三段\r末行\r"));
  // The office leaves no lock file beside the document.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(path.parent_path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(WordAutomationOffice, DocIsWrittenInWord97FormatAndRead) {
  const fs::path path = dir.path() / "旧文档.doc";
  WriteDocument(path, CWString(u"GBK 文本\r第二行"));
  EXPECT_EQ(Head(path, 4), "D0 CF 11 E0");
  EXPECT_EQ(ReadDocument(path), CWString(u"GBK 文本\r第二行\r"));
}

TEST_F(WordAutomationOffice, CloseAllDiscardsChanges) {
  const fs::path path = dir.path() / "a.docx";
  WriteDocument(path, CWString(u"saved"));
  {
    rg_TavelkinWordWenDangJiCaoZuoLei word;
    Prepare(word);
    ASSERT_EQ(word.OpenWordDocument(U(path)), 1);
    CQzuComObject content;
    ASSERT_EQ(ComGetObject(word.currentDocument, u"Content", content), 0);
    ASSERT_EQ(ComPutProperty(content, u"Text", CQzuComValue::FromText(u"changed")), 0);
    EXPECT_EQ(word.GetWordDocumentText(), CWString(u"changed\r"));
    word.CloseAllWordDocuments();
    EXPECT_EQ(OfficeOpenDocumentCount(), 0);
    // The current document is kept as a holder, but its document is gone.
    EXPECT_EQ(word.GetWordDocumentText(), CWString());
  }
  EXPECT_EQ(ReadDocument(path), CWString(u"saved\r"));
}

TEST_F(WordAutomationOffice, OldDocThatIsReallyRtfIsRead) {
  const fs::path path = dir.path() / "old.doc";
  const std::string rtf = "{\\rtf1\\ansi first\\par second}";
  qzu_test::WriteFile(path, std::vector<uint8_t>(rtf.begin(), rtf.end()));
  EXPECT_EQ(ReadDocument(path), CWString(u"first\rsecond\r"));
}

TEST_F(WordAutomationOffice, OfficeThatDiedIsStartedAgain) {
  const fs::path path = dir.path() / "a.docx";
  WriteDocument(path, CWString(u"kept"));
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  ASSERT_EQ(word.OpenWordDocument(U(path)), 1);
  const int pid = OfficeEngineProcessId();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(kill(pid, SIGKILL), 0);
  // Calls on the dead office fail instead of taking the program with it.
  EXPECT_EQ(word.GetWordDocumentText(), CWString());
  EXPECT_EQ(word.OpenWordDocument(U(dir.path() / "b.docx")), 0);
  // The application restarts the engine after an empty read.
  word.CloseAllWordDocuments();
  ASSERT_EQ(word.StartWordEngine(), 1);
  EXPECT_NE(OfficeEngineProcessId(), pid);
  ASSERT_EQ(word.OpenWordDocument(U(path)), 1);
  EXPECT_EQ(word.GetWordDocumentText(), CWString(u"kept\r"));
  word.CloseAllWordDocuments();
}

TEST_F(WordAutomationOffice, PathThatCannotBeCreatedFailsCleanly) {
  // Tests run as root: a regular file where a folder is needed is what fails.
  qzu_test::WriteFile(dir.path() / "blocker", {'x'});
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  EXPECT_EQ(word.OpenWordDocument(U(dir.path() / "blocker" / "new.docx")), 0);
  EXPECT_NE(word.documents.errorCode, 0);
  EXPECT_EQ(word.openDocuments.GetCount(), 0);
  EXPECT_TRUE(word.openedPaths.empty());
  EXPECT_EQ(word.GetWordDocumentText(), CWString());
  EXPECT_EQ(qzu_test::ReadFile(dir.path() / "blocker"), std::vector<uint8_t>{'x'});

  // A name with a zero unit must not open the file its first part names.
  const fs::path saved = dir.path() / "a.docx";
  WriteDocument(saved, CWString(u"other file"));
  CWString withZero = U(saved);
  withZero += u'\0';
  withZero += CWString(u"x.docx");
  EXPECT_EQ(word.OpenWordDocument(withZero), 0);
  EXPECT_EQ(word.GetWordDocumentText(), CWString());
}

TEST_F(WordAutomationOffice, DamagedDocxIsRefusedInsteadOfReadAsPlainText) {
  const fs::path path = dir.path() / "broken.docx";
  qzu_test::WriteFile(path, {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'});
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  EXPECT_EQ(word.OpenWordDocument(U(path)), 0);
  EXPECT_EQ(word.GetWordDocumentText(), CWString());
  EXPECT_EQ(OfficeOpenDocumentCount(), 0);
}

TEST_F(WordAutomationOffice, DocumentListKeepsOneEntryPerPathAndCloseAllAtTheLimit) {
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  Prepare(word);
  ASSERT_EQ(word.OpenWordDocument(U(dir.path() / "same.docx")), 1);
  ASSERT_EQ(word.OpenWordDocument(U(dir.path() / "same.docx")), 1);
  EXPECT_EQ(word.openDocuments.GetCount(), 1);
  EXPECT_EQ(OfficeOpenDocumentCount(), 1);

  for (int i = 1; i < 100; ++i) {
    ASSERT_EQ(word.OpenWordDocument(U(dir.path() / ("d" + std::to_string(i) + ".docx"))), 1) << i;
  }
  EXPECT_EQ(word.openDocuments.GetCount(), 100);
  EXPECT_EQ(OfficeOpenDocumentCount(), 100);
  // The 101st distinct path closes the hundred first, then opens.
  ASSERT_EQ(word.OpenWordDocument(U(dir.path() / "d100.docx")), 1);
  EXPECT_EQ(word.openDocuments.GetCount(), 1);
  EXPECT_EQ(word.openedPaths.size(), 1u);
  EXPECT_EQ(word.openedPaths.count(U(dir.path() / "d100.docx")), 1u);
  EXPECT_EQ(OfficeOpenDocumentCount(), 1);
  EXPECT_EQ(word.GetWordDocumentText(), CWString(u"\r"));
  word.CloseAllWordDocuments();
  EXPECT_EQ(word.openDocuments.GetCount(), 0);
  EXPECT_EQ(OfficeOpenDocumentCount(), 0);
}

TEST_F(WordAutomationOffice, WithoutAnOfficeEveryOperationFails) {
  OfficeEngineShutdown();
  SetOfficeProgram((dir.path() / "no-office" / "soffice.bin").string());
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  EXPECT_EQ(word.StartWordEngine(), 0);
  EXPECT_EQ(word.started, 0);
  EXPECT_EQ(word.OpenWordDocument(U(dir.path() / "x.docx")), 0);
  EXPECT_EQ(word.GetWordDocumentText(), CWString());
  word.CloseAllWordDocuments();
  EXPECT_EQ(ComPutProperty(word.application, u"Visible", CQzuComValue::FromBool(false)), kComNoDispatch);
  SetOfficeProgram("");
}

TEST(WordAutomationObject, StreamAndCopyCarryTheMembers) {
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  word.started = 1;
  word.openLimit = 100;
  word.openedPaths = {CWString(u"/a/一.docx"), CWString(u"/b.doc")};
  word.openDocuments.Add(new CQzuComObject);
  word.documents.errorCode = -7;

  CQzuMemStream stream;
  word.SaveToStream(stream);
  ASSERT_TRUE(stream.Ok());
  stream.Rewind();
  rg_TavelkinWordWenDangJiCaoZuoLei loaded;
  loaded.LoadFromStream(stream);
  EXPECT_TRUE(stream.Ok());
  EXPECT_EQ(loaded.started, 1);
  EXPECT_EQ(loaded.openLimit, 100);
  EXPECT_EQ(loaded.openedPaths, word.openedPaths);
  EXPECT_EQ(loaded.openDocuments.GetCount(), 1);
  EXPECT_EQ(loaded.documents.errorCode, -7);

  rg_TavelkinWordWenDangJiCaoZuoLei copy(word);
  EXPECT_EQ(copy.openedPaths, word.openedPaths);
  EXPECT_EQ(copy.openLimit, 100);
  EXPECT_FALSE(copy.IsEqual(word));
  EXPECT_TRUE(word.IsEqual(word));
  EXPECT_EQ(CWString::FromUtf8(word.GetClassInfo().name),
            CWString::FromUtf8("rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei"));
}
