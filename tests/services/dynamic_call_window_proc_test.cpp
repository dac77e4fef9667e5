// SubclassWindowProc: the framework's setter found by name in the program
// itself gives a window its new procedure and returns the old one; a setter
// or library that cannot be found changes nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <vector>

#include "services/dynamic_call_window_proc.h"

using rg_TavelkinMingLingJi_API::kProgramItself;
using rg_TavelkinMingLingJi_API::SubclassWindowProc;

namespace {

// Which procedure saw the test's event, in order.
std::vector<char> g_seen;
const QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::User + 17);

bool ProcA(QObject*, QEvent* e) {
  if (e->type() == kProbe) g_seen.push_back('A');
  return false;
}
bool ProcB(QObject* w, QEvent* e) {
  if (e->type() == kProbe) g_seen.push_back('B');
  return ProcA(w, e);
}

void SendProbe(QWidget* w) {
  QEvent probe(kProbe);
  QCoreApplication::sendEvent(w, &probe);
}

class SubclassWindowProcTest : public ::testing::Test {
 protected:
  void TearDown() override { g_seen.clear(); }
  QWidget window;
};

TEST_F(SubclassWindowProcTest, InstallsTheNewProcedureAndReturnsThePrevious) {
  EXPECT_EQ(SubclassWindowProc(&window, &ProcA), nullptr);
  EXPECT_EQ(GetWindowProc(&window), &ProcA);
  SendProbe(&window);
  EXPECT_EQ(g_seen, std::vector<char>({'A'}));

  EXPECT_EQ(SubclassWindowProc(&window, &ProcB), &ProcA);
  g_seen.clear();
  SendProbe(&window);
  EXPECT_EQ(g_seen, std::vector<char>({'B', 'A'}));

  // Null gives the window back its own handling.
  EXPECT_EQ(SubclassWindowProc(&window, nullptr), &ProcB);
  EXPECT_EQ(GetWindowProc(&window), nullptr);
  g_seen.clear();
  SendProbe(&window);
  EXPECT_TRUE(g_seen.empty());
}

TEST_F(SubclassWindowProcTest, AMissingSetterOrLibraryGivesNullAndLeavesTheWindowAlone) {
  ASSERT_EQ(SubclassWindowProc(&window, &ProcA), nullptr);
  struct Case {
    const char* name;
    const char16_t* library;
    const char16_t* setter;
  } cases[] = {
      {"no such setter", kProgramItself, u"QzuNoSuchSetter"},
      {"no such library", u"libqzu-nowhere.so.7", kSetWindowProcSymbol},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SubclassWindowProc(&window, &ProcB, c.library, c.setter), nullptr);
    EXPECT_EQ(GetWindowProc(&window), &ProcA);
  }
  SubclassWindowProc(&window, nullptr);
}

TEST_F(SubclassWindowProcTest, TheProcedureGoesWithItsWindow) {
  auto* inner = new QWidget(&window);
  SubclassWindowProc(inner, &ProcA);
  delete inner;
  EXPECT_EQ(GetWindowProc(inner), nullptr);
}

}  // namespace
