// The program's start: the guarded start method with its message boxes and
// exit code, the runtime function table, the about text and title, the
// settings file loaded from the program's folder, and the main window made
// at its default size in the middle of the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <stdexcept>

#include "framework/user_app.h"
#include "main_window_fixture.h"
#include "services/global_settings.h"
#include "services/ini_settings_store.h"

namespace qzu_test {
namespace {

using rg_Ombrine_app::rg_startup_class;
using rg_Ombrine_app::RuntimeFunction;

class StartupTest : public MainWindowFixture {
 protected:
  void TearDown() override {
    if (program && program->MainWindow().HasWindow()) program->MainWindow().DestroyWindow();
    program.reset();
    MainWindowFixture::TearDown();
  }
  std::unique_ptr<rg_startup_class> program = std::make_unique<rg_startup_class>();
};

// "软件配置.ini" as the settings store writes it: UTF-16LE with its mark.
void WriteSettings(const std::filesystem::path& path, const std::u16string& content) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t c : content) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  WriteFile(path, bytes);
}

TEST_F(StartupTest, OpensTheMainWindowWithItsTitleSizeAndSettings) {
  WriteSettings(folder.path() / "软件配置.ini", u"[启动]\r\n检查=已读\r\n");
  SetDpiFactor(1.0);
  ASSERT_EQ(rg_Ombrine_app::StartProgram(*program), 0);
  rg_Ombrine_app::rg_ZhuChuangKouLei& window = program->MainWindow();
  ASSERT_TRUE(window.HasWindow());
  EXPECT_TRUE(window.GetWidget()->isVisible());
  EXPECT_EQ(window.GetCaption(), CWString(u"Tavelkin·Quillmere v2.3.0.0 - 支持拖动文件到批量转换按钮"));
  EXPECT_EQ(window.GetClientWidth(), 1192);
  EXPECT_EQ(window.GetClientHeight(), 720);
  // In the middle of the primary screen, as far as it fits.
  const QRect area = AvailableScreenArea();
  EXPECT_EQ(window.GetWidget()->x(), std::max(area.x(), area.x() + (area.width() - 1192) / 2));
  EXPECT_EQ(window.GetWidget()->y(), std::max(area.y(), area.y() + (area.height() - 720) / 2));

  EXPECT_EQ(rg_Tavelkin_MingLingJi::ApplicationTitle(), CWString(u"Tavelkin·Quillmere"));
  EXPECT_EQ(rg_Tavelkin_MingLingJi::AboutText(), rg_Ombrine_app::BuildAboutText());
  EXPECT_EQ(rg_Tavelkin_MingLingJi::GlobalSettings().ReadIniValue(u"启动", u"检查", u"无"), CWString(u"已读"));
  EXPECT_TRUE(hooks.boxes.empty());
}

TEST_F(StartupTest, WithoutASettingsFileTheWindowStillOpens) {
  ASSERT_EQ(rg_Ombrine_app::StartProgram(*program), 0);
  EXPECT_TRUE(program->MainWindow().HasWindow());
  EXPECT_EQ(rg_Tavelkin_MingLingJi::GlobalSettings().ReadIniValue(u"启动", u"检查", u"无"), CWString(u"无"));
}

TEST_F(StartupTest, ScaledWindowAtFactorOneAndAHalf) {
  SetDpiFactor(1.5);
  ASSERT_EQ(rg_Ombrine_app::StartProgram(*program), 0);
  rg_Ombrine_app::rg_ZhuChuangKouLei& window = program->MainWindow();
  EXPECT_EQ(window.GetClientWidth(), 1788);
  EXPECT_EQ(window.GetClientHeight(), 1080);
  // Each number scaled and rounded on its own: (10, 183, 557, 50).
  EXPECT_EQ(window.EncodeButton.GetLeft(), 15);
  EXPECT_EQ(window.EncodeButton.GetTop(), 275);
  EXPECT_EQ(window.EncodeButton.GetHeight(), 75);
}

TEST_F(StartupTest, AMissingLibraryOrFunctionEndsWithTheBoxAndMinusOne) {
  struct Case {
    const char* name;
    std::vector<RuntimeFunction> table;
    const char16_t* text;  // empty: the start goes on
  } cases[] = {
      {"found", {{u"libc.so.6", u"strlen"}, {u"", u"memcpy"}}, u""},
      {"no library",
       {{u"libc.so.6", u"strlen"}, {u"libqzu-nowhere.so.3", u"Anything"}},
       u"俘获到异常,代码值为: -1, 描述为: 载入运行时所需要的外部动态链接库文件\"libqzu-nowhere.so.3\"失败!"},
      {"no function",
       {{u"libc.so.6", u"strlen"}, {u"", u"QzuNoSuchFunction"}},
       u"俘获到异常,代码值为: -1, 描述为: 在外部动态链接库\"libc.so.6\"中未找到所需要的输出函数\"QzuNoSuchFunction\"!"},
      {"ordinal",
       {{u"libc.so.6", u"@12"}},
       u"俘获到异常,代码值为: -1, 描述为: 在外部动态链接库\"libc.so.6\"中未找到所需要的输出函数\"@12\"!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hooks.boxes.clear();
    auto start = std::make_unique<rg_startup_class>();
    start->runtimeFunctions = c.table;
    const int result = rg_Ombrine_app::StartProgram(*start);
    if (*c.text == 0) {
      EXPECT_EQ(result, 0);
      EXPECT_TRUE(start->MainWindow().HasWindow());
      EXPECT_TRUE(hooks.boxes.empty());
      start->MainWindow().DestroyWindow();
      continue;
    }
    EXPECT_EQ(result, -1);
    // Nothing was made before the failure.
    EXPECT_FALSE(start->MainWindow().HasWindow());
    ASSERT_EQ(hooks.boxes.size(), 1u);
    EXPECT_EQ(hooks.boxes[0].text, CWString(c.text));
    EXPECT_EQ(hooks.boxes[0].caption, CWString(u"运行时异常"));
    EXPECT_EQ(hooks.boxes[0].style & 0xF0, kMbIconError);
  }
}

// A start method that throws something of its own.
class ThrowingStart : public rg_startup_class {
 public:
  int StartApplication() override { throw std::runtime_error("broken"); }
};

TEST_F(StartupTest, AnyOtherExceptionShowsTheUnmanagedText) {
  ThrowingStart start;
  EXPECT_EQ(rg_Ombrine_app::StartProgram(start), -1);
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text, CWString(u"程序在运行时抛出了未被管理的异常"));
  EXPECT_EQ(hooks.boxes[0].caption, CWString(u"运行时异常"));
  EXPECT_EQ(hooks.boxes[0].style & 0xF0, kMbIconError);
}

TEST_F(StartupTest, IsAWindowProgramObjectWithItsClassInformation) {
  const CQzuClassInfo& info = rg_Ombrine_app::StartupClassInfo();
  EXPECT_STREQ(info.name, "rg_Ombrine_app::rg_startup_class");
  EXPECT_EQ(info.nameHash, QzuClassNameHash("rg_Ombrine_app::rg_startup_class"));
  EXPECT_EQ(&program->GetClassInfo(), &info);
  for (const char* base : {"rg_Ombrine_app::rg_startup_class", "rg_Ombrine_base::rg_ChuangKouChengXuLei",
                           "rg_Ombrine_base::rg_ChengXuLei", "CQzuUserApp", "CQzuObject"}) {
    // Compared by name, as a record of another module would be.
    const CQzuClassInfo other(base, nullptr, nullptr);
    EXPECT_TRUE(program->IsKindOf(other)) << base;
  }
  EXPECT_FALSE(program->IsKindOf(rg_Ombrine_app::rg_ZhuChuangKouLei::StaticClassInfo()));

  // Made through its create function, it registers as the running program
  // when none is.
  program.reset();
  ASSERT_EQ(RunningUserApp(), nullptr);
  CQzuObject* made = info.create();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(RunningUserApp(), made);
  made->Release();
  EXPECT_EQ(RunningUserApp(), nullptr);
}

TEST_F(StartupTest, CloneAndCopyTakeTheMainWindowButNotTheRegistration) {
  program.reset();
  rg_startup_class original;
  ASSERT_EQ(RunningUserApp(), &original);
  original.MainWindow().Direction = 1;
  original.MainWindow().BatchRoot = u"/资料/根";
  original.MainWindow().ConvertedCount = 12;
  original.runtimeFunctions = {{u"libc.so.6", u"strlen"}};
  original.SetHeaderWord(0x55);

  CQzuObject* clone = original.Clone();
  ASSERT_NE(clone, nullptr);
  ASSERT_TRUE(clone->IsKindOf(rg_Ombrine_app::StartupClassInfo()));
  auto& copy = *static_cast<rg_startup_class*>(clone);
  EXPECT_EQ(copy.MainWindow().Direction, 1);
  EXPECT_EQ(copy.MainWindow().BatchRoot, CWString(u"/资料/根"));
  EXPECT_EQ(copy.MainWindow().ConvertedCount, 12);
  ASSERT_EQ(copy.runtimeFunctions.size(), 1u);
  EXPECT_EQ(copy.GetHeaderWord(), 0x55u);
  // Equal only to itself; the running program stays the original.
  EXPECT_FALSE(copy.IsEqual(original));
  EXPECT_TRUE(copy.IsEqual(copy));
  EXPECT_EQ(RunningUserApp(), &original);
  clone->Release();
  EXPECT_EQ(RunningUserApp(), &original);

  // Another class is refused and changes nothing.
  rg_Ombrine_app::rg_ZhuChuangKouLei window;
  EXPECT_EQ(original.CopyFrom(window), 0);
  EXPECT_EQ(original.MainWindow().Direction, 1);
  // Reset copies a fresh object.
  original.Reset();
  EXPECT_EQ(original.MainWindow().Direction, 0);
  EXPECT_TRUE(original.MainWindow().BatchRoot.IsEmpty());
  EXPECT_TRUE(original.runtimeFunctions.empty());
  EXPECT_EQ(RunningUserApp(), &original);
}

TEST_F(StartupTest, AboutTextHasItsNineParagraphs) {
  const CWString text = rg_Ombrine_app::BuildAboutText();
  std::vector<CWString> paragraphs;
  int start = 0;
  for (int at; (at = text.Find(u"\r\n\r\n", start)) >= 0; start = at + 4)
    paragraphs.push_back(text.Mid(start, at - start));
  paragraphs.push_back(text.Mid(start));
  ASSERT_EQ(paragraphs.size(), 9u);
  EXPECT_EQ(paragraphs[0], CWString(u"Tavelkin软件(") + rg_Ombrine_app::kMakerAddress + u")出品。");
  EXPECT_EQ(paragraphs[2], CWString(u"提示："));
  // The tips are numbered 2, 3, 5, 6, 7, 8.
  const char16_t numbers[] = u"235678";
  for (int i = 0; i < 6; ++i) EXPECT_EQ(paragraphs[3 + i][0], numbers[i]) << i;
  EXPECT_EQ(paragraphs[8],
            CWString(u"8、如需转换百MB以上的大文件字符编码，请点击【软件主页】进去下载本软件的x64位版本。"));
}

}  // namespace
}  // namespace qzu_test
