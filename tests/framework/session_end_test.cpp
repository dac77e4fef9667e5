// Signals turned into calls on the UI thread through a pipe, and the session
// end that closes every window through its close query, modal ones first.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/session_end.h"
#include "framework/signal_pipe.h"
#include "framework/win_form.h"
#include "qt_pump.h"

using qzu_test::PumpUntil;

namespace {

void (*HandlerOf(int signalNumber))(int) {
  struct sigaction current = {};
  ::sigaction(signalNumber, nullptr, &current);
  return current.sa_handler;
}

TEST(SignalPipe, ASignalBecomesACallOnTheUiThreadAndTheOldHandlingComesBack) {
  void (*const hupBefore)(int) = HandlerOf(SIGHUP);
  std::vector<int> received;
  bool allOnUiThread = true;
  {
    CQzuSignalPipe pipe({SIGHUP, SIGUSR2}, [&](int signalNumber) {
      received.push_back(signalNumber);
      allOnUiThread = allOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    ASSERT_TRUE(pipe.IsWatching());
    // The handler knows one pipe: a second one watches nothing.
    EXPECT_FALSE(CQzuSignalPipe({SIGHUP}, [](int) {}).IsWatching());
    EXPECT_NE(HandlerOf(SIGHUP), hupBefore);

    ::kill(::getpid(), SIGHUP);
    ::kill(::getpid(), SIGUSR2);
    // The handler only wrote to the pipe; the call comes from the loop.
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(PumpUntil([&] { return received.size() == 2; }));
    // A signal sent from another thread still reaches the UI thread.
    std::thread([] { ::kill(::getpid(), SIGHUP); }).join();
    EXPECT_TRUE(PumpUntil([&] { return received.size() == 3; }));
  }
  EXPECT_EQ(received, (std::vector<int>{SIGHUP, SIGUSR2, SIGHUP}));
  EXPECT_TRUE(allOnUiThread);
  EXPECT_EQ(HandlerOf(SIGHUP), hupBefore);
}

// A form whose close query records itself, runs `onQuery` and answers
// `refuse`.
struct QueriedForm {
  explicit QueriedForm(std::vector<std::string>& log, const char* name) : log(log), name(name) {
    form.OnCloseQuery.Connect(
        [](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
          QueriedForm* self = static_cast<Receiver*>(r)->owner;
          self->log.push_back(self->name);
          if (self->onQuery) self->onQuery();
          return self->refuse ? 1 : 0;
        },
        ref);
    EXPECT_EQ(form.CreateForm(nullptr, 0, 0, 120, 80), 1);
  }
  struct Receiver : CQzuObject {
    explicit Receiver(QueriedForm* o) : owner(o) {}
    QueriedForm* owner;
  };
  std::vector<std::string>& log;
  const char* name;
  bool refuse = false;
  std::function<void()> onQuery;
  Receiver receiver{this};
  CQzuReceiverRef ref = CQzuReceiverRef::Make(&receiver);
  CQzuWinForm form;
};

TEST(SessionEnd, EveryWindowIsAskedAndARefusalStopsTheEnd) {
  std::vector<std::string> log;
  QueriedForm a(log, "a"), b(log, "b");
  b.refuse = true;
  EXPECT_FALSE(CloseAllWindowsForSessionEnd());
  EXPECT_TRUE(b.form.HasWindow());
  EXPECT_EQ(std::count(log.begin(), log.end(), "b"), 1);

  b.refuse = false;
  log.clear();
  EXPECT_TRUE(CloseAllWindowsForSessionEnd());
  EXPECT_FALSE(a.form.HasWindow());
  EXPECT_FALSE(b.form.HasWindow());
  EXPECT_EQ(std::count(log.begin(), log.end(), "b"), 1);
  EXPECT_LE(std::count(log.begin(), log.end(), "a"), 1);
}

TEST(SessionEnd, AModalBoxEndsAsWithEscBeforeTheWindowsAreAsked) {
  std::vector<std::string> log;
  QueriedForm form(log, "form");
  QMessageBox* shownBox = nullptr;
  bool boxShownAtQuery = true;
  form.onQuery = [&] { boxShownAtQuery = shownBox && shownBox->isVisible(); };
  int boxResult = -1;
  bool ended = false;
  QTimer::singleShot(0, [&] {
    QMessageBox box(QMessageBox::Information, QStringLiteral("信息:"), QStringLiteral("问题"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    shownBox = &box;
    QTimer::singleShot(50, [&] { ended = CloseAllWindowsForSessionEnd(); });
    boxResult = box.exec();
    shownBox = nullptr;
  });
  EXPECT_TRUE(PumpUntil([&] { return boxResult != -1 && ended; }, 5000));
  EXPECT_EQ(boxResult, QMessageBox::Cancel);
  EXPECT_EQ(log, std::vector<std::string>{"form"});
  EXPECT_FALSE(form.form.HasWindow());
  EXPECT_FALSE(boxShownAtQuery);
}

TEST(SessionEnd, TerminationAndHangUpCloseTheWindows) {
  for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signalNumber);
    std::vector<std::string> log;
    QueriedForm form(log, "form");
    CQzuSessionEnd sessionEnd;
    ASSERT_TRUE(sessionEnd.WatchesSignals());
    ::kill(::getpid(), signalNumber);
    EXPECT_TRUE(PumpUntil([&] { return !form.form.HasWindow(); }));
    EXPECT_EQ(log, std::vector<std::string>{"form"});
  }
}

}  // namespace
