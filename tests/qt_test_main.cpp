// Main of the widget test programs: a private HOME and data folder, the
// offscreen platform, then every GoogleTest case inside one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Each test starts without the windows an earlier test left for deletion (one
// could be the active window, owner of the next message box) and with the
// pointer away from every window, so that a widget shown where an earlier test
// left the pointer is not hovered.
class CleanStart : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCursor::setPos(-10000, -10000);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  const QByteArray homePath = home.path().toUtf8();
  QDir(home.path()).mkpath(".local/share");
  setenv("HOME", homePath.constData(), 1);
  setenv("XDG_DATA_HOME", (homePath + "/.local/share").constData(), 1);
  setenv("XDG_RUNTIME_DIR", homePath.constData(), 1);
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStart);
  return RUN_ALL_TESTS();
}
