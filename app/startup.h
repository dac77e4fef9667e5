#pragma once
// rg_startup_class: the program object. It holds the main window, and its
// start method prepares what the rest of the program relies on (the runtime
// function table, the about text, the product title, the loaded settings)
// before it creates the main window.
//
// The start method runs inside a catch-all (RunStartMethodGuarded): the
// program's one exception, StartupException, raised when a library or
// function of the runtime table is missing, and anything else thrown while
// starting, end in a "运行时异常" message box and the exit code -1. Nothing
// is caught while a debugger is attached, so that it sees the exception.
// UI thread only, after the Qt application object and the framework exist.
#include <exception>
#include <vector>

#include "app/main_window.h"
#include "common/wstring.h"
#include "framework/window_program.h"

namespace rg_Ombrine_app {

inline constexpr char16_t kProductTitle[] = u"Tavelkin·Quillmere";
// The maker's web address named in the about text's first paragraph.
inline constexpr char16_t kMakerAddress[] = u"https://quillmere.example/";
inline constexpr char16_t kSettingsFileName[] = u"软件配置.ini";
inline constexpr char16_t kRuntimeErrorCaption[] = u"运行时异常";
inline constexpr char16_t kUnmanagedExceptionText[] = u"程序在运行时抛出了未被管理的异常";
// The exit code of a start that threw.
inline constexpr int kStartFailedExitCode = -1;

// The exception of a failed start: a code and a description.
class StartupException : public std::exception {
 public:
  StartupException(int code, const CWString& description) : m_code(code), m_description(description) {}
  const char* what() const noexcept override { return "start-up failed"; }
  int Code() const { return m_code; }
  const CWString& Description() const { return m_description; }

 private:
  int m_code;
  CWString m_description;
};

// One row of the runtime function table: a shared library loaded by name
// and one function looked up in it. A row with an empty library uses the
// library of the row before it; a function name beginning with "@" is an
// ordinal number, which shared libraries here do not have, so it is never
// found.
struct RuntimeFunction {
  CWString library;
  CWString function;
};

// Loads every library of `table` and looks up every function. The first
// library that cannot be loaded raises StartupException(-1,
// "载入运行时所需要的外部动态链接库文件"<library>"失败!"), the first missing
// function StartupException(-1, "在外部动态链接库"<library>"中未找到所需要的输出函数"<function>"!").
// Libraries stay loaded until exit. Returns 1.
int ResolveRuntimeFunctions(const std::vector<RuntimeFunction>& table);

// The about and tips text: nine paragraphs joined by blank lines, the first
// naming the maker and its address.
CWString BuildAboutText();

// The program object: a window program (rg_ChuangKouChengXuLei, over the
// framework's CQzuUserApp) that keeps the platform's pre-translate, idle and
// exit hooks. Constructing one registers it as the running program unless
// one is registered already; the application runner makes it through
// StartupClassInfo. An object is equal only to itself; a copy takes the
// header words, the main window member (whose controls then share their
// windows) and the runtime function table.
class rg_startup_class : public rg_Ombrine_base::rg_ChuangKouChengXuLei {
  QZU_DECLARE_CLASS(rg_startup_class)
 public:
  rg_startup_class() = default;
  ~rg_startup_class() override = default;
  rg_startup_class(const rg_startup_class&) = delete;
  rg_startup_class& operator=(const rg_startup_class&) = delete;

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;

  // The whole start before the message loop (StartProgram); says on the
  // error stream when the main window could not be made.
  int InitInstance() override;

  // StartApplication, in this order: resolves `runtimeFunctions`; sets the
  // about text and then the product title (the settings migration looks for
  // an older file named after the title); loads "软件配置.ini" from the
  // program's folder (migrating an older file when it is missing); creates
  // the main window centred on the screen at its default size and shows it.
  // 1 when it ran to its end (whether or not the window could be made).
  int StartApplication() override;

  rg_ZhuChuangKouLei& MainWindow() { return m_mainWindow; }

  // The functions the program looks up by name at start-up. The desktop
  // services the program uses are linked into it, so the table is empty
  // unless a test fills it.
  std::vector<RuntimeFunction> runtimeFunctions;

 private:
  rg_ZhuChuangKouLei m_mainWindow;
};

// The class information of the start-up class: "rg_Ombrine_app::rg_startup_class".
const CQzuClassInfo& StartupClassInfo();

// Whether a debugger traces this process.
bool DebuggerAttached();

// Runs the start method of `app`: its result, or, after an exception and
// its message box (no owner, error icon, caption "运行时异常"),
// kStartFailedExitCode. With a debugger attached the exception is not caught.
int RunStartMethodGuarded(rg_startup_class& app);

// The whole start before the message loop: the guarded start method, then
// the check that a main window exists. 0 when the message loop may run,
// kStartFailedExitCode after an exception, 1 when the start method returned
// 0 or no main window exists.
int StartProgram(rg_startup_class& app);

}  // namespace rg_Ombrine_app
