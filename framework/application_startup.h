#pragma once
// Start-up of the Qt application in the order it must happen: Qt's own
// high-DPI scaling off before the application object exists, then the DPI
// factor from the primary screen, the CJK font standing in for "微软雅黑" and
// "Microsoft YaHei", Qt's own texts in Chinese, and the Qt platform hooks;
// then the program object run by RunUserApplication.
#include <QString>

#include "common/object.h"

// Before QApplication is constructed.
void PrepareQtEnvironment();
// After QApplication is constructed and before the first window: Qt's
// Chinese translations come from Qt's own translations folder.
void InitializeFramework();
// The same with the translations taken from `qtTranslationsFolder`.
void InitializeFramework(const QString& qtTranslationsFolder);
// The family the substitution chose (framework/ui_font.h: "Noto Sans CJK SC"
// when installed).
const char* CjkFontFamily();

// Qt's own texts (file dialog, standard buttons, editor menus) in simplified
// Chinese whatever the system's locale: installs the "zh_CN" translations of
// the Qt modules the program uses found in `folder`, replacing those an
// earlier call installed. A missing or unreadable file is skipped (Qt then
// speaks English); an empty folder removes them all. When any was installed,
// the program's own catalogue (RCDATA kQtTextsResource, compiled from
// resources/translations/) goes over them: the file dialog's type names and
// the texts Qt's catalogue lacks. UI thread only; returns how many of Qt's
// files were installed.
int InstallQtTranslations(const QString& folder);
inline constexpr int kQtTextsResource = 528;
// Where Qt's translations are installed (/usr/share/qt6/translations).
QString QtTranslationsFolder();

// The exit code when the start-up class makes no program object.
inline constexpr int kNoProgramObjectExitCode = -1;

// Runs a program, once the framework is initialised: creates one object of
// `startupClass` through its create function (kNoProgramObjectExitCode, with
// nothing run, when that gives no CQzuUserApp), runs its InitInstance and,
// when that returns 0, the Qt event loop with the window program's hooks
// (framework/window_program.h) and the session end (framework/session_end.h)
// in place. Then the exit hook, and the object is released. Returns
// InitInstance's code when it was not 0, else the loop's. UI thread only.
int RunUserApplication(const CQzuClassInfo& startupClass);
