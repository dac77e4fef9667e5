#include "app/startup.h"

#include <dlfcn.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "components/global_objects.h"
#include "platform/hooks.h"
#include "services/global_settings.h"
#include "services/ini_settings_store.h"
#include "textlib/path_helpers.h"

namespace rg_Ombrine_app {

QZU_IMPLEMENT_CLASS(rg_startup_class, rg_Ombrine_base::rg_ChuangKouChengXuLei, "rg_Ombrine_app::rg_startup_class")

const CQzuClassInfo& StartupClassInfo() { return rg_startup_class::StaticClassInfo(); }

namespace {

const char16_t* const kAboutParagraphs[] = {
    u"功能：文件字符编码互转，如ANSI(GBK)、UTF-8、Unicode、UnicodeBE(Ube)"
    u"。同时支持各种功能转换，如UCS2（JSON字符转义格式），"
    u"CR10、CR16（HTML字符转义格式），URL（编码网址或POST数据），十六进制，字节码(范围0-255)"
    u"，Base64（用于编码图片或加密字符串），"
    u"Win、Unix和Mac（转换为特定操作系统的换行符格式），繁体（中文繁简体互转），大写（字母大小写互转），去重（超级快速"
    u"的去重算法），"
    u"html到txt（将html内容转换到txt并自动排版），word到txt（将doc和docx文件转换到txt或html文件，不支持图片和格式），"
    u"MD5、SHA1和SHA256（取出文件或字符串的数据摘要值）",
    u"提示：",
    u"2、如果纯粹是为了转换文件的字符编码，请单击【无】，也就是不进行任何功能转换，然后在【批量转换】里面设置好【输入编"
    u"码】和【输出编码】即可。",
    u"3、Base64、MD5等功能转换时，如果目标内容不是文本内容而是图片、可执行程序等等，请选中【字符格式 - "
    u"原始】，这样才能准确得到该文件的转换结果。在解码时，自然也要选择对应的字符格式。",
    u"5、支持直接拖动多个文件到【待转换内容】，多个文件的转换结果将自动以换行连接在一起（通常用于MD5、SHA1、SHA256）。"
    u"【待转换内容】不为文件路径时，则直接对该文本进行转换。",
    u"6、单击【批量转换】按钮时默认是选择文件夹，按下Ctrl键再单击则是选择文件。同时支持拖动文件和文件夹到【批量转换】按"
    u"钮。",
    u"7、单篇对Base64进行解码时，如果选中【字符格式 - "
    u"原始】，则输出为文件路径，自行根据原始文件格式修改文件扩展名即可打开查看，如原始文件格式是图片，可以修改扩展名为j"
    u"pg、png等。",
    u"8、如需转换百MB以上的大文件字符编码，请点击【软件主页】进去下载本软件的x64位版本。",
};

void ShowStartupError(const CWString& text) { ShowMessageBox(text, kRuntimeErrorCaption, kMbOk | kMbIconError); }

}  // namespace

int ResolveRuntimeFunctions(const std::vector<RuntimeFunction>& table) {
  CWString library;
  void* handle = nullptr;
  for (const RuntimeFunction& row : table) {
    if (!row.library.IsEmpty()) {
      library = row.library;
      // Kept until exit: the functions found in it are used while the program runs.
      handle = dlopen(library.ToSystemPath().c_str(), RTLD_NOW | RTLD_GLOBAL);
      if (!handle)
        throw StartupException(-1, CWString(u"载入运行时所需要的外部动态链接库文件\"") + library + u"\"失败!");
    }
    const bool ordinal = !row.function.IsEmpty() && row.function[0] == u'@';
    if (!handle || ordinal || !dlsym(handle, row.function.ToUtf8().c_str()))
      throw StartupException(
          -1, CWString(u"在外部动态链接库\"") + library + u"\"中未找到所需要的输出函数\"" + row.function + u"\"!");
  }
  return 1;
}

CWString BuildAboutText() {
  CWString text = CWString(u"Tavelkin软件(") + kMakerAddress + u")出品。";
  for (const char16_t* paragraph : kAboutParagraphs) text += CWString(u"\r\n\r\n") + paragraph;
  return text;
}

bool rg_startup_class::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_startup_class::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_startup_class, source)
  m_mainWindow.CopyFrom(src.m_mainWindow);
  runtimeFunctions = src.runtimeFunctions;
  return 1;
}

int rg_startup_class::InitInstance() {
  const int started = StartProgram(*this);
  if (started != 0 && started != kStartFailedExitCode)
    std::fprintf(stderr, "quillmere: the main window could not be created\n");
  return started;
}

int rg_startup_class::StartApplication() {
  if (!ResolveRuntimeFunctions(runtimeFunctions)) return 0;
  rg_Tavelkin_MingLingJi::AboutText() = BuildAboutText();
  // Before the settings: an older settings file is found by the title.
  rg_Tavelkin_MingLingJi::ApplicationTitle() = kProductTitle;
  const CWString settingsPath = GetProgramFolder() + kPathSeparatorText + kSettingsFileName;
  rg_Tavelkin_MingLingJi::GlobalSettings().LoadIni(
      settingsPath, rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
  m_mainWindow.CreateForm();
  return 1;
}

bool DebuggerAttached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::stol(line.substr(10)) != 0;
  }
  return false;
}

int RunStartMethodGuarded(rg_startup_class& app) {
  if (DebuggerAttached()) return app.StartApplication();
  try {
    return app.StartApplication();
  } catch (const StartupException& e) {
    ShowStartupError(u"俘获到异常,代码值为: " + CWString::FromInt(e.Code()) + u", 描述为: " + e.Description());
  } catch (...) {
    ShowStartupError(kUnmanagedExceptionText);
  }
  return kStartFailedExitCode;
}

int StartProgram(rg_startup_class& app) {
  const int started = RunStartMethodGuarded(app);
  if (started == kStartFailedExitCode) return kStartFailedExitCode;
  return started != 0 && app.MainWindow().HasWindow() ? 0 : 1;
}

}  // namespace rg_Ombrine_app
