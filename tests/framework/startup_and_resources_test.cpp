// Start-up of the framework and pictures from the resources.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include "common/dpi.h"
#include "framework/application_startup.h"
#include "framework/bitmap_object.h"
#include "framework/resource_image.h"
#include "platform/hooks.h"
#include "platform/resource_loader.h"

TEST(Startup, FixesTheDpiFactorSubstitutesTheCjkFontAndInstallsTheHooks) {
  SetDpiFactor(2.0);
  InitializeFramework();
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
  EXPECT_DOUBLE_EQ(GetDpiFactor(), dpi / 96.0 < 1.0 ? 1.0 : dpi / 96.0);
  for (const char* face : {"微软雅黑", "Microsoft YaHei"}) {
    QFont font(QString::fromUtf8(face));
    EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(CjkFontFamily())) << face;
  }
  EXPECT_EQ(QGuiApplication::font().family(), QStringLiteral("Microsoft YaHei"));
  // The hooks in force are Qt's: the clipboard is the application's.
  EXPECT_TRUE(SetClipboardText(u"钩子"));
  EXPECT_EQ(GetClipboardText(), u"钩子");
  InstallPlatformHooks(nullptr);
  InstallQtTranslations(QString());
  SetDpiFactor(1.0);
}

TEST(ResourceImages, DecodesRegisteredPicturesAndSvg) {
  static const char svg[] =
      "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'><rect width='10' height='10' fill='#ff0000'/></svg>";
  RegisterResource(90001, svg, sizeof svg - 1);
  const QImage rendered = RenderSvgResource(90001, 16, 8);
  ASSERT_FALSE(rendered.isNull());
  EXPECT_EQ(rendered.size(), QSize(16, 8));
  EXPECT_EQ(rendered.pixelColor(8, 4), QColor(255, 0, 0));
  EXPECT_TRUE(RenderSvgResource(90001, 0, 8).isNull());
  static const char notPicture[] = "not a picture";
  RegisterResource(90002, notPicture, sizeof notPicture - 1);
  EXPECT_TRUE(LoadResourceImage(90002).isNull());
  EXPECT_TRUE(RenderSvgResource(90002, 8, 8).isNull());
  EXPECT_TRUE(LoadResourceImage(90003).isNull());
  RegisterResource(90001, nullptr, 0);
  RegisterResource(90002, nullptr, 0);
}

TEST(BitmapObject, DecodesSharesAndStreamsItsPicture) {
  QImage red(3, 2, QImage::Format_ARGB32);
  red.fill(QColor(255, 0, 0));
  rg_Ombrine_base::rg_WeiTuDuiXiangLei a;
  a.SetImage(red);
  const CQzuMem png = a.ToPngBytes();
  ASSERT_FALSE(png.IsEmpty());
  rg_Ombrine_base::rg_WeiTuDuiXiangLei b;
  ASSERT_TRUE(b.LoadFromBytes(png));
  EXPECT_EQ(b.GetWidth(), 3);
  EXPECT_EQ(b.GetImage().pixelColor(2, 1), QColor(255, 0, 0));
  EXPECT_TRUE(a.IsEqual(b));
  EXPECT_FALSE(b.LoadFromBytes(CQzuMem("BM\0\0", 4)));  // a broken file
  EXPECT_TRUE(b.IsEmpty());
  CQzuMemStream stream;
  a.SaveToStream(stream);
  stream.Rewind();
  rg_Ombrine_base::rg_WeiTuDuiXiangLei c;
  c.LoadFromStream(stream);
  EXPECT_TRUE(c.IsEqual(a));
}
