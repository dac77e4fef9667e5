#pragma once
// The main window tests that convert and keep settings: the main window
// fixture opened over a settings file, closed by its close box, with the
// desktop's opening, message boxes and message pumps recorded.
#include <QTest>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "framework/qt_platform_hooks.h"
#include "main_window_fixture.h"
#include "services/global_settings.h"

namespace qzu_test {

// The Qt hooks, except that nothing is opened or shown: the addresses and
// message texts are kept. Each pump remembers the single buttons' captions,
// so that a test sees what they read while a conversion runs.
class RunHooks : public CQtPlatformHooks {
 public:
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address);
    return openSucceeds;
  }
  int MessageBox(const CWString& text, const CWString&, int) override {
    boxes.push_back(text);
    return kIdOk;
  }
  void PumpPendingMessages() override {
    if (window)
      captionsDuringPumps.push_back(window->EncodeButton.GetButtonText() + u"|" + window->DecodeButton.GetButtonText());
    CQtPlatformHooks::PumpPendingMessages();
  }

  bool openSucceeds = true;
  std::vector<CWString> opened;
  std::vector<CWString> boxes;
  std::vector<CWString> captionsDuringPumps;
  rg_Ombrine_app::rg_ZhuChuangKouLei* window = nullptr;
};

// A record as one line, so that a difference shows in full.
inline std::string Describe(const rg_Ombrine_app::ConversionOptions& o) {
  auto text = [](const CWString& t) { return "\"" + t.ToUtf8() + "\""; };
  return "function " + std::to_string(static_cast<int>(o.function)) + " direction " +
         std::to_string(static_cast<int>(o.direction)) + " charsets " + std::to_string(o.inputCharsetIndex) + "/" +
         std::to_string(o.outputCharsetIndex) + " format " + std::to_string(static_cast<int>(o.charFormat)) +
         " escapes " + std::to_string(o.escapeAscii) + std::to_string(o.escapeLineBreaks) +
         std::to_string(o.escapeJoiners) + " html " + std::to_string(static_cast<int>(o.htmlLayout)) + " " +
         text(o.htmlExtension) + " word " + std::to_string(static_cast<int>(o.wordLayout)) + " dedup " +
         std::to_string(static_cast<int>(o.dedupMode)) + " " + text(o.dedupSeparator) + " " +
         text(o.dedupSubSeparator) + " " + text(o.dedupSubIndex) + " pinyin " + std::to_string(o.pinyinCapitalize) +
         std::to_string(o.pinyinTone) + std::to_string(o.pinyinReplaceFormat) + " " + text(o.pinyinFormat) + " " +
         text(o.pinyinPercent) + " batch " + text(o.fileFilter) + " " + std::to_string(o.walkSubfolders) +
         std::to_string(o.stripBom) + std::to_string(o.deleteOriginal) + std::to_string(o.saveToNewLocation) +
         std::to_string(o.convertFileNames);
}

// The main window fixture with its settings file: the window is opened as
// the start opens it, over "软件配置.ini" in the temporary program folder,
// and closed as its close box closes it. The desktop's opening and message
// boxes are recorded instead of shown.
class MainWindowWithSettings : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    m_underHooks = InstallPlatformHooks(&runHooks);
  }
  void TearDown() override {
    if (m_window && m_window->HasWindow()) Close();
    InstallPlatformHooks(m_underHooks);
    // The next test starts without this one's settings or remembered keys.
    rg_Tavelkin_MingLingJi::GlobalSettings().Reset();
    MainWindowFixture::TearDown();
  }

  std::filesystem::path IniPath() const { return folder.path() / std::filesystem::u8path("软件配置.ini"); }

  // Loads the settings file as the start does, then opens the window and
  // waits for its first activation.
  Window& OpenWithSettings() {
    auto& settings = rg_Tavelkin_MingLingJi::GlobalSettings();
    // Nothing of an earlier window: the saver remembers controls by address.
    settings.Reset();
    settings.LoadIni(CWString::FromSystemPath(IniPath().string()),
                     rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei::kIniAsStored);
    runHooks.window = nullptr;
    Window& w = Open();
    runHooks.window = &w;
    return w;
  }

  // Closes the window as its close box does (the close handler saves).
  void Close() {
    runHooks.window = nullptr;
    m_window->GetWidget()->close();
    EXPECT_FALSE(m_window->HasWindow());
    m_window.reset();
  }

  // Lets the window go without its close handler: nothing is saved.
  void Discard() {
    runHooks.window = nullptr;
    m_window->DestroyWindow();
    m_window.reset();
  }

  // A press and release on an owner-drawn button or label, as the mouse
  // does: in the middle, or at `at`.
  template <class Control>
  static void Click(Control& control, QPoint at = QPoint(-1, -1)) {
    QWidget* face = control.Display().GetWidget();
    if (at.x() < 0) at = QPoint(face->width() / 2, face->height() / 2);
    QTest::mouseClick(face, Qt::LeftButton, {}, at);
  }

  RunHooks runHooks;

 private:
  IPlatformHooks* m_underHooks = nullptr;
};

}  // namespace qzu_test
