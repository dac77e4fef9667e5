#pragma once
// The rig of the batch tests: the main window opened offscreen with a
// temporary program folder, message boxes answered and recorded, the desktop's
// open recorded, the Ctrl key and the folder choice as the test says, a hook
// into every message pump of the window's long work, and drops and clicks as
// the desktop delivers them.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/batch_folder_choice.h"
#include "app/main_window.h"
#include "common/dpi.h"
#include "components/icon_render_cache.h"
#include "framework/qt_platform_hooks.h"
#include "framework/screen_area.h"
#include "platform/hooks.h"
#include "services/global_settings.h"
#include "qt_pump.h"
#include "services/global_settings.h"
#include "test_support.h"
#include "textlib/charset_convert.h"

namespace qzu_test {

namespace batch_fs = std::filesystem;

constexpr char kBatchText[] = "批量转换的中文内容，第一行。\r\n第二行 second line 123。\r\n";

inline std::string Gbk(const std::string& utf8) {
  const CWString text = CWString::FromUtf8(utf8);
  CQzuMem bytes(text.GetBuffer(), static_cast<size_t>(text.Length()) * 2);
  Utf16ToAnsi(bytes);
  return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}

// A GBK file of kBatchText, its folders made.
inline void MakeGbkFile(const batch_fs::path& path) {
  batch_fs::create_directories(path.parent_path());
  qzu_test::WriteFileText(path, Gbk(kBatchText));
}

// What a converted kBatchText reads as: UTF-8 with its mark.
inline std::string Utf8Result() { return "\xEF\xBB\xBF" + std::string(kBatchText); }

inline CWString W(const batch_fs::path& p) { return CWString::FromUtf8(p.string()); }

// Message boxes answered and recorded, the desktop's open recorded, the Ctrl
// key as the test says, and a hook into every message pump of the window's
// long work (the walker's and the conversion core's).
struct BatchHooks : CQtPlatformHooks {
  struct Box {
    CWString text, caption;
    int style;
  };
  std::vector<Box> boxes;
  int answer = kIdCancel;
  std::vector<CWString> opened;
  bool ctrlDown = false;
  int pumps = 0;
  std::function<void(int)> onPump;

  int MessageBox(const CWString& text, const CWString& caption, int style) override {
    boxes.push_back({text, caption, style});
    return answer;
  }
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address);
    return true;
  }
  int16_t AsyncKeyState(int virtualKey) override {
    if (virtualKey == 0x11) return ctrlDown ? static_cast<int16_t>(0x8000) : 0;
    return CQtPlatformHooks::AsyncKeyState(virtualKey);
  }
  void PumpPendingMessages() override {
    ++pumps;
    if (onPump) onPump(pumps);
    CQtPlatformHooks::PumpPendingMessages();
  }
};

inline std::unique_ptr<QMimeData> FilesMime(const std::vector<batch_fs::path>& paths) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const batch_fs::path& p : paths) urls.append(QUrl::fromLocalFile(QString::fromStdString(p.string())));
  mime->setUrls(urls);
  return mime;
}

// Drags the paths over `target` and drops them there, as the desktop does.
inline void Drop(QWidget* target, const std::vector<batch_fs::path>& paths) {
  const std::unique_ptr<QMimeData> mime = FilesMime(paths);
  const QPoint pos(5, 5);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(pos, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDragMoveEvent move(pos, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(pos), actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

class BatchWindowFixture : public ::testing::Test {
 protected:
  using Window = rg_Ombrine_app::rg_ZhuChuangKouLei;

  void SetUp() override {
    // The settings store is one global object: each batch test starts and
    // ends without another test's settings or remembered keys.
    rg_Tavelkin_MingLingJi::GlobalSettings().Reset();
    m_previousHooks = InstallPlatformHooks(&hooks);
    m_savedProgramFolder = GetProgramFolder();
    SetProgramFolder(W(programFolder.path()));
    ResetIconCache();
    SetDpiFactor(1.0);
    // A virtual screen large enough for the window's design size, so that
    // every button lies in view without scrolling.
    SetAvailableScreenArea(QRect(0, 0, 3840, 2400));
    m_previousChooser = rg_Ombrine_app::SetBatchFolderChooser([this](const CWString& prompt, const CWString& start) {
      prompts.push_back(prompt);
      startFolders.push_back(start);
      return chosen;
    });
    window = std::make_unique<Window>();
    ASSERT_EQ(window->CreateForm(), 1);
    // The first activation names the action buttons after the checked function.
    ASSERT_TRUE(PumpUntil([&] { return window->BatchEncodeButton.GetButtonText() == u"批量转码"; }, 5000));
    // Results as UTF-8 with a mark, so that every converted file shows.
    window->OutputCharsetList.SelectDropDownItem(2);
    window->FileFilterEdit.SetText(u"*.txt");
    title = window->GetCaption();
  }
  void TearDown() override {
    hooks.onPump = nullptr;
    if (window && window->HasWindow()) window->DestroyWindow();
    window.reset();
    rg_Ombrine_app::SetBatchFolderChooser(m_previousChooser);
    InstallPlatformHooks(m_previousHooks);
    ResetIconCache();
    SetProgramFolder(m_savedProgramFolder);
    SetAvailableScreenArea(QRect());
    rg_Tavelkin_MingLingJi::GlobalSettings().Reset();
  }

  QWidget* Face(Window::Button& button) { return button.Display().GetWidget(); }
  QPoint Centre(QWidget* w) { return QPoint(w->width() / 2, w->height() / 2); }
  // A click as a person makes it: the batch runs inside the press, and the
  // release arrives at the first pump of the batch.
  void Click(Window::Button& button) {
    QWidget* face = Face(button);
    bool released = false;
    auto previous = hooks.onPump;
    hooks.onPump = [&, previous](int n) {
      if (!released) {
        released = true;
        QTest::mouseRelease(face, Qt::LeftButton, {}, Centre(face));
      }
      if (previous) previous(n);
    };
    QTest::mousePress(face, Qt::LeftButton, {}, Centre(face));
    if (!released) QTest::mouseRelease(face, Qt::LeftButton, {}, Centre(face));
    hooks.onPump = previous;
  }
  // A press and its release at once: a click from inside the pump while a
  // batch runs, or on a button that starts nothing.
  void Tap(Window::Button& button) { QTest::mouseClick(Face(button), Qt::LeftButton, {}, Centre(Face(button))); }
  void DropOn(Window::Button& button, const std::vector<batch_fs::path>& paths) { Drop(button.GetWidget(), paths); }
  QWidget* InputViewport() { return qobject_cast<QAbstractScrollArea*>(window->InputEditor.GetWidget())->viewport(); }

  // The stems of the files the title bar named while the batch ran, in order.
  void RecordConvertedStems() {
    hooks.onPump = [this](int) {
      const std::u16string caption = window->GetCaption().Str();
      const size_t at = caption.rfind(u" 个 ");
      if (at == std::u16string::npos) return;
      const CWString stem(caption.substr(at + 3));
      if (stems.empty() || stems.back() != stem) stems.push_back(stem);
    };
  }

  qzu_test::TempDir programFolder;
  qzu_test::TempDir tree;
  BatchHooks hooks;
  std::unique_ptr<Window> window;
  CWString title;
  CWString chosen;  // the folder chooser's answer
  std::vector<CWString> prompts, startFolders;
  std::vector<CWString> stems;

 private:
  IPlatformHooks* m_previousHooks = nullptr;
  CWString m_savedProgramFolder;
  rg_Ombrine_app::BatchFolderChooser m_previousChooser;
};

}  // namespace qzu_test
