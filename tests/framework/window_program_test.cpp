// The application runner and the window program: the program object made
// from its class information and registered as the running program, its
// start, the pre-translate hook before each mouse and key event (swallowing
// what it refuses), the idle hook while the loop waits, the exit hook once,
// and the object released at the end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "framework/application_startup.h"
#include "framework/window_program.h"

namespace qzu_test {
namespace {

struct ProgramLog {
  std::vector<std::string> steps;
  std::vector<int> idleCounts;
  bool registeredAtStart = false;
  bool registeredAtExit = false;
  QString typed;
};
ProgramLog* g_log = nullptr;

// Types "a" and "b" into a window of its own, refuses "b" before it is
// dispatched, asks for two idle turns more, then ends the loop with 7.
class RecordingProgram : public rg_Ombrine_base::rg_ChuangKouChengXuLei {
  QZU_DECLARE_CLASS(RecordingProgram)
 public:
  ~RecordingProgram() override { g_log->steps.push_back("released"); }
  int StartApplication() override {
    g_log->steps.push_back("start");
    g_log->registeredAtStart = RunningUserApp() == this;
    m_edit.show();
    QTimer::singleShot(0, [this] {
      QTest::keyClick(m_edit.windowHandle(), Qt::Key_A);
      QTest::keyClick(m_edit.windowHandle(), Qt::Key_B);
      g_log->typed = m_edit.text();
      QTimer::singleShot(30, [] { QCoreApplication::exit(7); });
    });
    return 1;
  }
  int PreTranslateMessage(QObject* window, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return 1;
    const int key = static_cast<QKeyEvent*>(event)->key();
    g_log->steps.push_back(std::string("key ") + static_cast<char>(key));
    EXPECT_EQ(window, m_edit.windowHandle());
    return key == Qt::Key_B ? 0 : 1;
  }
  int OnIdle(int count) override {
    g_log->idleCounts.push_back(count);
    return count < 2 ? 1 : 0;
  }
  void ExitInstance() override {
    g_log->steps.push_back("exit");
    g_log->registeredAtExit = RunningUserApp() == this;
  }

 private:
  QLineEdit m_edit;
};
QZU_IMPLEMENT_CLASS(RecordingProgram, rg_Ombrine_base::rg_ChuangKouChengXuLei, "qzu_test::RecordingProgram")

class WindowProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log = &log; }
  void TearDown() override { g_log = nullptr; }
  ProgramLog log;
};

TEST_F(WindowProgramTest, RunsTheProgramWithItsHooksAndReleasesIt) {
  ASSERT_EQ(RunningUserApp(), nullptr);
  EXPECT_EQ(RunUserApplication(RecordingProgram::StaticClassInfo()), 7);
  EXPECT_TRUE(log.registeredAtStart);
  EXPECT_TRUE(log.registeredAtExit);
  EXPECT_EQ(log.steps, (std::vector<std::string>{"start", "key A", "key B", "exit", "released"}));
  // "b" never reached the box.
  EXPECT_EQ(log.typed, QStringLiteral("a"));
  ASSERT_GE(log.idleCounts.size(), 3u);
  EXPECT_EQ(std::vector<int>(log.idleCounts.begin(), log.idleCounts.begin() + 3), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(RunningUserApp(), nullptr);
}

// A failed start runs no loop; the exit hook still runs.
class FailingProgram : public RecordingProgram {
  QZU_DECLARE_CLASS(FailingProgram)
 public:
  int StartApplication() override {
    g_log->steps.push_back("start");
    return 0;
  }
};
QZU_IMPLEMENT_CLASS(FailingProgram, RecordingProgram, "qzu_test::FailingProgram")

TEST_F(WindowProgramTest, AFailedStartOrAClassThatIsNoProgramRunsNoLoop) {
  EXPECT_EQ(RunUserApplication(FailingProgram::StaticClassInfo()), 1);
  EXPECT_EQ(log.steps, (std::vector<std::string>{"start", "exit", "released"}));
  EXPECT_TRUE(log.idleCounts.empty());

  log.steps.clear();
  EXPECT_EQ(RunUserApplication(CQzuObject::StaticClassInfo()), kNoProgramObjectExitCode);
  // The abstract program classes make no object.
  EXPECT_EQ(RunUserApplication(rg_Ombrine_base::rg_ChuangKouChengXuLei::StaticClassInfo()),
            kNoProgramObjectExitCode);
  EXPECT_TRUE(log.steps.empty());
  EXPECT_EQ(RunningUserApp(), nullptr);
}

TEST_F(WindowProgramTest, TheFirstProgramObjectStaysRegisteredUntilItGoes) {
  {
    RecordingProgram first;
    EXPECT_EQ(RunningUserApp(), &first);
    EXPECT_EQ(RunningWindowProgram(), &first);
    {
      RecordingProgram second;
      EXPECT_EQ(RunningUserApp(), &first);
    }
    EXPECT_EQ(RunningUserApp(), &first);
  }
  EXPECT_EQ(RunningUserApp(), nullptr);
  // The default hooks let everything go on and ask for no idle time.
  struct Plain : rg_Ombrine_base::rg_ChuangKouChengXuLei {
    int StartApplication() override { return 1; }
  } plain;
  QEvent event(QEvent::KeyPress);
  EXPECT_EQ(plain.PreTranslateMessage(nullptr, &event), 1);
  EXPECT_EQ(plain.OnIdle(0), 0);
}

}  // namespace
}  // namespace qzu_test
