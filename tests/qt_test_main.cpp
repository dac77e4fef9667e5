// Main of the widget test programs: a private HOME and data folder, the
// offscreen platform, then every GoogleTest case inside one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

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
  return RUN_ALL_TESTS();
}
