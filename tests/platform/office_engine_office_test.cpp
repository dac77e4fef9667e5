// The office engine's UNO side lives in a module the engine opens on its
// first start: before it every call answers as with no office, a missing
// office program fails the start without ending anything, and a real start
// loads the UNO runtime and reaches the office.
#include <gtest/gtest.h>

#include <string>

#include "platform/office_engine.h"
#include "test_support.h"

namespace {

TEST(OfficeEngineModule, AnswersWithoutOfficeUntilStartedThenLoadsTheRuntime) {
  OfficeEngineShutdown();
  EXPECT_FALSE(OfficeEngineIsRunning());
  EXPECT_EQ(OfficeEngineProcessId(), -1);
  CWString text(u"left over");
  EXPECT_EQ(OfficeGetDocumentText(1, text), kOfficeNoDocument);
  EXPECT_TRUE(text.IsEmpty());
  int count = 7;
  EXPECT_EQ(OfficeParagraphCount(1, count), kOfficeNoDocument);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(OfficeOpenDocumentCount(), 0);
  EXPECT_FALSE(OfficeDocumentIsOpen(1));
  uint64_t id = 9;
  EXPECT_EQ(OfficeOpenDocument(CWString(u"/nonexistent.docx"), id), kOfficeNotRunning);
  EXPECT_EQ(id, 0u);

  SetOfficeProgram("/nonexistent/program/soffice.bin");
  EXPECT_FALSE(OfficeEngineStart());
  EXPECT_FALSE(OfficeEngineIsRunning());
  EXPECT_EQ(OfficeOpenDocument(CWString(u"/nonexistent.docx"), id), kOfficeNotRunning);

  SetOfficeProgram("");
  ASSERT_TRUE(OfficeEngineStart());
  EXPECT_TRUE(qzu_test::LibraryLoaded("libuno_cppu"));
  EXPECT_TRUE(OfficeEngineIsRunning());
  EXPECT_GT(OfficeEngineProcessId(), 0);
  OfficeEngineShutdown();
  EXPECT_FALSE(OfficeEngineIsRunning());
  EXPECT_EQ(OfficeEngineProcessId(), -1);
}

}  // namespace
