// The main window started over settings it did not write: a settings file
// saved by hand in UTF-8 or GBK, a binary one, and an input side file with a
// NUL; what the window shows and what its close leaves on the disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/utf16le.h"
#include "main_window_settings_fixture.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace qzu_test {
namespace {

using Window = rg_ZhuChuangKouLei;
using rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei;

std::vector<uint8_t> BytesOf(const CQzuMem& m) { return std::vector<uint8_t>(m.GetData(), m.GetData() + m.GetSize()); }

// A settings text (lines joined by `lineBreak`) in a charset, as an editor saves it.
std::vector<uint8_t> SavedByHand(const char16_t* charset, const char16_t* lineBreak) {
  CWString text = CWString(u"[主界面.批量设置]") + lineBreak + u"编辑框文件过滤=*.md|*.日志" + lineBreak +
                  u"[主界面.转换设置.去重类型]" + lineBreak + u"编辑框分隔符=；";
  CQzuMem bytes = Utf16LeBytesOf(text.View());
  EXPECT_TRUE(ConvertCharset(bytes, CWString(u"UTF-16"), CWString(charset), 0));
  return BytesOf(bytes);
}

class MainWindowOverForeignSettings : public MainWindowWithSettings {
 protected:
  // Loads the settings file in the start's own mode, then opens the window.
  Window& OpenAsTheStartDoes() {
    auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
    settings.Reset();
    settings.LoadIni(CWString::FromSystemPath(IniPath().string()), rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
    runHooks.window = nullptr;
    Window& w = Open();
    runHooks.window = &w;
    return w;
  }
  fs::path SideFile() const { return folder.path() / fs::u8path("ini/[主界面]Tavelkin火花编辑框待转换内容"); }
  fs::path Backup() const { return folder.path() / fs::u8path("软件配置.ini.bak"); }
};

TEST_F(MainWindowOverForeignSettings, ASettingsFileSavedInUtf8OrGbkLoadsItsValues) {
  const struct {
    const char* name;
    const char16_t* charset;
    const char16_t* lineBreak;
  } rows[] = {{"UTF-8", u"UTF-8", u"\r\n"}, {"UTF-8 with LF", u"UTF-8", u"\n"}, {"GBK", u"GBK", u"\r\n"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    WriteFile(IniPath(), SavedByHand(r.charset, r.lineBreak));
    Window& w = OpenAsTheStartDoes();
    EXPECT_EQ(w.FileFilterEdit.GetText(), CWString(u"*.md|*.日志"));
    EXPECT_EQ(w.SeparatorEdit.GetText(), CWString(u"；"));
    Close();
    // The file now carries every key of the window, its own values among them.
    rg_TavelkinPeiZhiJiLei stored;
    stored.LoadIni(CWString::FromSystemPath(IniPath().string()), rg_TavelkinPeiZhiJiLei::kIniAsStored);
    EXPECT_EQ(stored.BomLength, 2);
    EXPECT_EQ(stored.ReadIniValue(u"主界面.批量设置", u"编辑框文件过滤", u""), CWString(u"*.md|*.日志"));
    EXPECT_NE(stored.ReadIniValue(u"主界面", u"Tavelkin按钮折行.选中", u"<none>"), CWString(u"<none>"));
    EXPECT_FALSE(fs::exists(Backup()));
  }
}

TEST_F(MainWindowOverForeignSettings, ABinarySettingsFileStartsWithDefaultsAndIsKeptAsBak) {
  const std::string defaults = Describe(OpenAsTheStartDoes().FillConversionOptions());
  Discard();
  const std::vector<uint8_t> binary = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R',
                                       0x5B, 0x00, 0xE4, 0x00};
  WriteFile(IniPath(), binary);
  WriteFile(Backup(), {'o', 'l', 'd'});  // taken: the new backup gets a number
  Window& w = OpenAsTheStartDoes();
  EXPECT_EQ(Describe(w.FillConversionOptions()), defaults);
  EXPECT_EQ(ReadFile(IniPath()), binary) << "nothing is replaced before the close";
  Close();
  EXPECT_EQ(ReadFile(folder.path() / fs::u8path("软件配置.ini (2).bak")), binary);
  EXPECT_EQ(ReadFileText(Backup()), "old");
  const std::vector<uint8_t> written = ReadFile(IniPath());
  ASSERT_GE(written.size(), 2u);
  EXPECT_EQ(written[0], 0xFF);
  EXPECT_EQ(written[1], 0xFE);

  // The program's own file from now on: the next start reads it, and its
  // close keeps nothing more.
  Window& again = OpenAsTheStartDoes();
  again.AsciiCheck.SetChecked(!again.AsciiCheck.GetChecked());
  Close();
  EXPECT_FALSE(fs::exists(folder.path() / fs::u8path("软件配置.ini (3).bak")));
}

TEST_F(MainWindowOverForeignSettings, AnInputSideFileWithANulComesBackWholeAfterACloseWithoutAnEdit) {
  std::u16string stored = u"开头的一行\r\n";
  stored += u'\0';
  for (int i = 0; i < 3000; ++i) stored += u"后面的文字";  // about 30 KB after the NUL
  fs::create_directories(SideFile().parent_path());
  const CQzuMem storedBytes = Utf16LeBytesOf(stored);
  WriteFile(SideFile(), BytesOf(storedBytes));

  Window& w = OpenAsTheStartDoes();
  EXPECT_EQ(w.InputEditor.GetCodeEditText(), CWString(u"开头的一行\r\n"));
  Close();
  EXPECT_EQ(ReadFile(SideFile()), BytesOf(storedBytes));

  // An edit is the user's: it is saved.
  Window& edited = OpenAsTheStartDoes();
  edited.InputEditor.SetCodeEditText(u"开头的一行\r\n改过");
  Close();
  EXPECT_EQ(ReadFile(SideFile()), BytesOf(Utf16LeBytesOf(u"开头的一行\r\n改过")));
}

}  // namespace
}  // namespace qzu_test
