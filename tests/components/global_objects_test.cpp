// The shared global objects: made without any window, gone with the
// application object, and the global input box as the banner's help link
// uses it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include "components/global_objects.h"
#include "framework/framework_test_util.h"
#include "framework/qt_platform_hooks.h"

using namespace rg_Tavelkin_MingLingJi;

TEST(GlobalObjects, AreMadeAndDestroyedWithoutTouchingAnyWindow) {
  DestroyGlobalObjects();
  const auto widgetsBefore = QApplication::allWidgets().size();
  CreateGlobalObjects();
  ASSERT_TRUE(GlobalObjectsExist());
  EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);
  EXPECT_FALSE(InputBoxGlobal().HasWindow());
  EXPECT_TRUE(AboutText().IsEmpty()) << "empty until the start-up sets it";
  EXPECT_TRUE(BannerTexts().homeAddress.IsEmpty());
  EXPECT_TRUE(BannerTexts().noticeText.IsEmpty());
  rg_TavelkinShuRuKuangLei* first = &InputBoxGlobal();
  CreateGlobalObjects();
  EXPECT_EQ(&InputBoxGlobal(), first) << "made once";

  DestroyGlobalObjects();
  EXPECT_FALSE(GlobalObjectsExist());
  EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);
  AboutText() = u"关于";  // an accessor makes a new set
  EXPECT_TRUE(GlobalObjectsExist());
  DestroyGlobalObjects();
}

TEST(GlobalObjects, StartingAndQuittingLeavesNoWidgetAndNoObjectBehind) {
  QProcess run;
  run.start(QStringLiteral(QZU_START_AND_QUIT), {});
  ASSERT_TRUE(run.waitForFinished(30000));
  const QByteArray out = run.readAllStandardOutput();
  EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_EQ(out.trimmed(), QByteArray("widgets=0 globals-left=0"));
}

TEST(GlobalObjects, TheHelpTextShowsReadOnlyInTheGlobalInputBox) {
  InstallQtPlatformHooks();
  AboutText() = u"本软件用于转换字符编码。\r\n2、说明";
  bool seen = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    rg_TavelkinShuRuKuangLei& box = InputBoxGlobal();
    if (!box.HasWindow() || !box.GetWidget()->isVisible()) return;
    seen = true;
    EXPECT_EQ(box.GetCaption(), u"疑点说明");
    EXPECT_EQ(box.editor.GetText(), AboutText());
    EXPECT_TRUE(box.editor.IsReadOnly());
    EXPECT_EQ(ShowInputBox(u"", u"", u"", nullptr), 0) << "already shown";
    box.DestroyWindow();
  });
  poll.start();
  EXPECT_EQ(ShowInputBox(AboutText(), CWString(), u"疑点说明"), 0);
  EXPECT_TRUE(seen);
  DestroyGlobalObjects();
}
