// The XDG user folders: reading "user-dirs.dirs" (its "$HOME" and absolute
// forms, quoting, comments, the last assignment winning, values it refuses)
// and the English defaults when the file or the key is missing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/user_folders.h"
#include "test_support.h"

namespace {

struct ConfigCase {
  const char* name;
  const char* text;
  XdgUserDir which;
  const char16_t* expected;
};

TEST(UserFolders, ConfigTextGivesTheFolderOrNothing) {
  const ConfigCase cases[] = {
      {"home form", "XDG_DOWNLOAD_DIR=\"$HOME/下载\"\n", XdgUserDir::Download, u"/home/李/下载"},
      {"absolute", "XDG_PICTURES_DIR=\"/data/图片/\"\n", XdgUserDir::Pictures, u"/data/图片"},
      {"home itself", "XDG_DESKTOP_DIR=\"$HOME/\"\n", XdgUserDir::Desktop, u"/home/李"},
      {"escaped quote", "XDG_MUSIC_DIR=\"$HOME/a\\\"b\"\n", XdgUserDir::Music, u"/home/李/a\"b"},
      {"later wins", "XDG_VIDEOS_DIR=\"$HOME/v1\"\n# XDG_VIDEOS_DIR=\"$HOME/c\"\nXDG_VIDEOS_DIR=\"$HOME/v2\"\n",
       XdgUserDir::Videos, u"/home/李/v2"},
      {"other key only", "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n", XdgUserDir::Templates, u""},
      {"relative refused", "XDG_TEMPLATES_DIR=\"模板\"\n", XdgUserDir::Templates, u""},
      {"other variable refused", "XDG_PUBLICSHARE_DIR=\"$HOMEX/p\"\n", XdgUserDir::PublicShare, u""},
      {"prefix of a key", "XDG_DESKTOP_DIRS=\"$HOME/x\"\n", XdgUserDir::Desktop, u""},
  };
  for (const ConfigCase& c : cases)
    EXPECT_EQ(UserDirFromConfigText(c.text, c.which, u"/home/李"), CWString(c.expected)) << c.name;
}

TEST(UserFolders, FileInTheConfigFolderWinsOverTheDefaults) {
  qzu_test::TempDir config;
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
  const CWString home = u"/home/李";
  EXPECT_EQ(XdgUserDirPath(XdgUserDir::Download, home), u"/home/李/Downloads");  // no file yet
  qzu_test::WriteFileText(config.path() / "user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"$HOME/下载\"\n");
  EXPECT_EQ(XdgUserDirPath(XdgUserDir::Download, home), u"/home/李/下载");
  EXPECT_EQ(XdgUserDirPath(XdgUserDir::PublicShare, home), u"/home/李/Public");
  EXPECT_EQ(XdgConfigHome(home), CWString::FromUtf8(config.str()));
  // A relative value in the variable is ignored, as the XDG rules say.
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(XdgConfigHome(home), u"/home/李/.config");
  EXPECT_EQ(XdgUserDirPath(XdgUserDir::Desktop, u"/"), u"/Desktop");
  if (old)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
