// The platform hooks: installed ones replace the defaults, and the defaults
// answer on their own, without a desktop.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/hooks.h"
#include "test_support.h"

namespace {

struct FakeHooks : IPlatformHooks {
  int pumps = 0;
  void PumpPendingMessages() override { ++pumps; }
  int16_t AsyncKeyState(int vk) override { return vk == 0x11 ? static_cast<int16_t>(0x8000) : 0; }
};

// Sets an environment variable for the life of the object.
class EnvGuard {
 public:
  EnvGuard(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvGuard() {
    if (m_old) ::setenv(m_name, m_old->c_str(), 1);
    else ::unsetenv(m_name);
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

TEST(PlatformHooks, InstalledHooksReplaceTheDefaultsUntilRemoved) {
  FakeHooks fake;
  EXPECT_EQ(InstallPlatformHooks(&fake), nullptr);
  PumpPendingMessages();
  EXPECT_EQ(fake.pumps, 1);
  EXPECT_NE(GetAsyncKeyState(0x11), 0);
  EXPECT_EQ(GetAsyncKeyState(0x10), 0);
  EXPECT_EQ(InstallPlatformHooks(nullptr), &fake);
  PumpPendingMessages();
  EXPECT_EQ(fake.pumps, 1);
}

// Without a window nobody answers a message box: the first button is taken
// and the text goes to the error output, where a headless run shows it.
TEST(PlatformHooks, DefaultsAnswerWithoutADesktop) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(ShowMessageBox(u"继续？", u"信息:", kMbYesNo | kMbIconQuestion), kIdYes);
  EXPECT_EQ(ShowMessageBox(u"完成", u"信息:", kMbOkCancel), kIdOk);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "信息: 继续？\n信息: 完成\n");
  EXPECT_FALSE(PlatformHooks().ShellOpen(CWString(), CWString()));
  EXPECT_FALSE(PlatformHooks().MoveToRecycleBin(u"/tmp"));
  EXPECT_EQ(GetAsyncKeyState(1), 0);
  // The clipboard lives in the process; a zero unit is data, not an end.
  const CWString text(std::u16string(u"剪贴板\0\U0001F600", 4));
  EXPECT_TRUE(SetClipboardText(text));
  EXPECT_EQ(GetClipboardText(), text);
}

TEST(PlatformHooks, DefaultSpecialFoldersFollowTheEnvironment) {
  EnvGuard home("HOME", "/home/李");
  EnvGuard temp("TMPDIR", "/var/tmp/q");
  {
    EnvGuard data("XDG_DATA_HOME", "");
    EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::AppData), u"/home/李/.local/share/Tavelkin/Quillmere");
  }
  EnvGuard data("XDG_DATA_HOME", "/data");
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::AppData), u"/data/Tavelkin/Quillmere");
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::Desktop), u"/home/李/Desktop");
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::Documents), u"/home/李/Documents");
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::Home), u"/home/李");
  EXPECT_EQ(PlatformHooks().SpecialFolderPath(SpecialFolder::Temporary), u"/var/tmp/q");
}

TEST(PlatformHooks, DefaultUserFoldersComeFromTheConfiguration) {
  qzu_test::TempDir config;
  qzu_test::WriteFileText(config.path() / "user-dirs.dirs",
                          "XDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOWNLOAD_DIR=\"/srv/下载\"\n");
  EnvGuard home("HOME", "/home/李");
  EnvGuard data("XDG_DATA_HOME", "/data");
  EnvGuard configHome("XDG_CONFIG_HOME", config.str());
  const CWString c = CWString::FromUtf8(config.str());
  const struct {
    SpecialFolder folder;
    CWString path;
  } cases[] = {{SpecialFolder::Desktop, u"/home/李/桌面"},
               {SpecialFolder::Documents, u"/home/李/Documents"},
               {SpecialFolder::Downloads, u"/srv/下载"},
               {SpecialFolder::Music, u"/home/李/Music"},
               {SpecialFolder::PublicShare, u"/home/李/Public"},
               {SpecialFolder::Applications, u"/data/applications"},
               {SpecialFolder::Autostart, c + u"/autostart"},
               {SpecialFolder::ConfigHome, c},
               {SpecialFolder::DataHome, u"/data"},
               {SpecialFolder::Fonts, u"/usr/share/fonts"}};
  for (const auto& k : cases)
    EXPECT_EQ(PlatformHooks().SpecialFolderPath(k.folder), k.path) << static_cast<int>(k.folder);
}

// The program's folder is the executable's (writable here) until a test
// points it elsewhere; an empty folder brings the default back.
TEST(PlatformHooks, ProgramFolderIsTheExecutablesUntilPointedElsewhere) {
  const CWString saved = GetProgramFolder();
  SetProgramFolder(CWString());
  EXPECT_EQ(GetProgramFolder().ToUtf8(), std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str() + "//"));
  EXPECT_EQ(GetProgramFolder().ToUtf8(), dir.str());  // without trailing separators
  SetProgramFolder(u"/");
  EXPECT_EQ(GetProgramFolder(), u"/");
  SetProgramFolder(saved);
}

}  // namespace
