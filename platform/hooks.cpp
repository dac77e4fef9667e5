#include "platform/hooks.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

#include "platform/user_folders.h"

extern char** environ;

namespace {

std::mutex g_clipboardLock;
CWString g_clipboard;  // the default clipboard lives in the process

IPlatformHooks g_defaultHooks;
std::atomic<IPlatformHooks*> g_hooks{&g_defaultHooks};

std::mutex g_folderLock;
CWString g_programFolder;

CWString EnvPath(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return CWString::FromSystemPath(v && *v ? v : fallback);
}

CWString HomeFolder() { return EnvPath("HOME", "/"); }

bool Writable(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

CWString DefaultProgramFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && Writable(exe.parent_path().string())) return CWString::FromSystemPath(exe.parent_path().string());
  CWString data = PlatformHooks().SpecialFolderPath(SpecialFolder::AppData);
  std::filesystem::create_directories(data.ToSystemPath(), ec);
  return data;
}

}  // namespace

bool IPlatformHooks::SetClipboardText(const CWString& text) {
  std::lock_guard<std::mutex> guard(g_clipboardLock);
  g_clipboard = text;
  return true;
}

CWString IPlatformHooks::GetClipboardText() {
  std::lock_guard<std::mutex> guard(g_clipboardLock);
  return g_clipboard;
}

int IPlatformHooks::MessageBox(const CWString& text, const CWString& caption, int style) {
  std::fprintf(stderr, "%s %s\n", caption.ToUtf8().c_str(), text.ToUtf8().c_str());
  // Without a window nobody can answer: take the first button.
  return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}

bool IPlatformHooks::ShellOpen(const CWString& address, const CWString&) {
  if (address.IsEmpty()) return false;
  const std::string target = address.ToSystemPath();
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(target.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool IPlatformHooks::MoveToRecycleBin(const CWString&) { return false; }

int16_t IPlatformHooks::AsyncKeyState(int) { return 0; }

void IPlatformHooks::CursorPosition(int& x, int& y) { x = y = 0; }

void IPlatformHooks::PumpPendingMessages() {}

CWString IPlatformHooks::SpecialFolderPath(SpecialFolder folder) {
  switch (folder) {
    case SpecialFolder::Desktop:
      return XdgUserDirPath(XdgUserDir::Desktop, HomeFolder());
    case SpecialFolder::Documents:
      return XdgUserDirPath(XdgUserDir::Documents, HomeFolder());
    case SpecialFolder::Downloads:
      return XdgUserDirPath(XdgUserDir::Download, HomeFolder());
    case SpecialFolder::Music:
      return XdgUserDirPath(XdgUserDir::Music, HomeFolder());
    case SpecialFolder::Pictures:
      return XdgUserDirPath(XdgUserDir::Pictures, HomeFolder());
    case SpecialFolder::Videos:
      return XdgUserDirPath(XdgUserDir::Videos, HomeFolder());
    case SpecialFolder::Templates:
      return XdgUserDirPath(XdgUserDir::Templates, HomeFolder());
    case SpecialFolder::PublicShare:
      return XdgUserDirPath(XdgUserDir::PublicShare, HomeFolder());
    case SpecialFolder::Fonts:
      return u"/usr/share/fonts";
    case SpecialFolder::Applications:
      return XdgDataHome(HomeFolder()) + u"/applications";
    case SpecialFolder::Autostart:
      return XdgConfigHome(HomeFolder()) + u"/autostart";
    case SpecialFolder::DataHome:
      return XdgDataHome(HomeFolder());
    case SpecialFolder::ConfigHome:
      return XdgConfigHome(HomeFolder());
    case SpecialFolder::Temporary:
      return EnvPath("TMPDIR", "/tmp");
    case SpecialFolder::Home:
      return HomeFolder();
    case SpecialFolder::AppData: {
      const char* xdg = std::getenv("XDG_DATA_HOME");
      CWString base = xdg && *xdg ? CWString::FromSystemPath(xdg) : HomeFolder() + u"/.local/share";
      return base + u"/Tavelkin/Quillmere";
    }
  }
  return CWString();
}

IPlatformHooks& PlatformHooks() { return *g_hooks.load(std::memory_order_acquire); }

IPlatformHooks* InstallPlatformHooks(IPlatformHooks* hooks) {
  IPlatformHooks* old = g_hooks.exchange(hooks ? hooks : &g_defaultHooks, std::memory_order_acq_rel);
  return old == &g_defaultHooks ? nullptr : old;
}

CWString GetProgramFolder() {
  std::lock_guard<std::mutex> guard(g_folderLock);
  if (g_programFolder.IsEmpty()) g_programFolder = DefaultProgramFolder();
  return g_programFolder;
}

void SetProgramFolder(const CWString& folder) {
  std::lock_guard<std::mutex> guard(g_folderLock);
  g_programFolder = folder;
  while (g_programFolder.GetLength() > 1 && g_programFolder.EndsWith(u"/"))
    g_programFolder = g_programFolder.Left(g_programFolder.Length() - 1);
}
