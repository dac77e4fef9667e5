#include "framework/application_startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QPointer>
#include <QScreen>
#include <QTranslator>

#include <vector>

#include "common/dpi.h"
#include "framework/font_text.h"
#include "framework/qt_platform_hooks.h"
#include "framework/session_end.h"
#include "framework/ui_font.h"
#include "framework/window_program.h"
#include "platform/resource_loader.h"

namespace {
QByteArray g_cjkFamily = "Noto Sans CJK SC";

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
  const int installed = static_cast<int>(g_qtTranslators.size());
  // Our own texts for what Qt's catalogue lacks, over Qt's (the translator
  // installed last is asked first); only beside a Chinese Qt, so a dialog
  // never mixes the two languages more than Qt alone would.
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (installed > 0 && FindResource(kQtTextsResource, &data, &size)) {
    auto* own = new QTranslator(QCoreApplication::instance());
    if (own->load(data, static_cast<int>(size)) && QCoreApplication::installTranslator(own))
      g_qtTranslators.emplace_back(own);
    else
      delete own;
  }
  return installed;
}

void InitializeFramework() { InitializeFramework(QtTranslationsFolder()); }

void InitializeFramework(const QString& qtTranslationsFolder) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) SetDpiFactor(DpiFactorFor(screen->logicalDotsPerInch()));
  const QString cjk = InstallUiFontSubstitution();
  if (!cjk.isEmpty()) g_cjkFamily = cjk.toUtf8();
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
