#include "framework/application_startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include <vector>

#include "common/dpi.h"
#include "framework/font_text.h"
#include "framework/qt_platform_hooks.h"
#include "framework/session_end.h"
#include "framework/window_program.h"

namespace {
QByteArray g_cjkFamily = "WenQuanYi Micro Hei";

// The Qt modules with texts of their own that the program shows; QtSvg has
// none. Owned by the application object, so they go with it.
const char* const kQtTranslationModules[] = {"qtbase"};
std::vector<QPointer<QTranslator>> g_qtTranslators;
}  // namespace

void PrepareQtEnvironment() {
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

const char* CjkFontFamily() { return g_cjkFamily.constData(); }

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

int InstallQtTranslations(const QString& folder) {
  for (QPointer<QTranslator>& t : g_qtTranslators) delete t.data();
  g_qtTranslators.clear();
  if (folder.isEmpty()) return 0;
  for (const char* module : kQtTranslationModules) {
    // The exact file: QTranslator::load would otherwise fall back to
    // shorter names ("qtbase_zh", "qtbase") and another language.
    const QString path = folder + QLatin1Char('/') + QLatin1String(module) + QStringLiteral("_zh_CN.qm");
    if (!QFileInfo(path).isFile()) continue;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(path) && QCoreApplication::installTranslator(translator))
      g_qtTranslators.emplace_back(translator);
    else
      delete translator;
  }
  return static_cast<int>(g_qtTranslators.size());
}

void InitializeFramework() { InitializeFramework(QtTranslationsFolder()); }

void InitializeFramework(const QString& qtTranslationsFolder) {
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
  InstallQtTranslations(qtTranslationsFolder);
  InstallQtPlatformHooks();
}

int RunUserApplication(const CQzuClassInfo& startupClass) {
  CQzuObject* object = startupClass.create ? startupClass.create() : nullptr;
  if (!object || !object->IsKindOf(CQzuUserApp::StaticClassInfo())) {
    if (object) object->Release();
    return kNoProgramObjectExitCode;
  }
  // The object registered itself when it was made; the one found there runs.
  CQzuUserApp* program = RunningUserApp();
  if (!program) program = static_cast<CQzuUserApp*>(object);
  int code = program->InitInstance();
  if (code == 0) {
    CQzuWindowProgramHooks hooks;
    CQzuSessionEnd sessionEnd;
    code = QApplication::exec();
  }
  if (rg_Ombrine_base::rg_ChuangKouChengXuLei* windowProgram = RunningWindowProgram()) windowProgram->ExitInstance();
  object->Release();
  return code;
}
