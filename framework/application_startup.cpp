#include "framework/application_startup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QScreen>

#include "common/dpi.h"
#include "framework/font_text.h"
#include "framework/qt_platform_hooks.h"

namespace {
QByteArray g_cjkFamily = "WenQuanYi Micro Hei";
}

void PrepareQtEnvironment() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

const char* CjkFontFamily() { return g_cjkFamily.constData(); }

void InitializeFramework() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) SetDpiFactor(DpiFactorFor(screen->logicalDotsPerInch()));
  // The installed CJK font: WenQuanYi Micro Hei, else the first family that
  // writes simplified Chinese.
  const QStringList families = QFontDatabase::families();
  QString cjk;
  for (const QString& f : families)
    if (f.startsWith(QStringLiteral("WenQuanYi Micro Hei"), Qt::CaseInsensitive)) { cjk = f; break; }
  if (cjk.isEmpty()) {
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (!chinese.isEmpty()) cjk = chinese.front();
  }
  if (!cjk.isEmpty()) {
    g_cjkFamily = cjk.toUtf8();
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), {cjk});
    QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), {cjk});
  }
  QApplication::setFont(DefaultControlFont());
  InstallQtPlatformHooks();
}
