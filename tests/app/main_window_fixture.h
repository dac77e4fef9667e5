#pragma once
// The rig of the main window tests: a main window opened offscreen at a
// chosen DPI factor with a temporary program folder, message boxes recorded,
// and readers that turn any of its controls into plain values.
#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "common/dpi.h"
#include "components/global_objects.h"
#include "services/global_settings.h"
#include "components/icon_render_cache.h"
#include "framework/qt_platform_hooks.h"
#include "framework/screen_area.h"
#include "platform/hooks.h"
#include "qt_pump.h"
#include "test_support.h"

namespace qzu_test {

struct WindowHooks : CQtPlatformHooks {
  struct Box {
    CWString text, caption;
    int style;
  };
  std::vector<Box> boxes;
  int MessageBox(const CWString& text, const CWString& caption, int style) override {
    boxes.push_back({text, caption, style});
    return kIdOk;
  }
};

class MainWindowFixture : public ::testing::Test {
 protected:
  using Window = rg_Ombrine_app::rg_ZhuChuangKouLei;

  void SetUp() override {
    // Every window test starts and ends without another test's settings or
    // remembered keys: the store is one global object.
    rg_Tavelkin_MingLingJi::GlobalSettings().Reset();
    m_previousHooks = InstallPlatformHooks(&hooks);
    m_savedFolder = GetProgramFolder();
    SetProgramFolder(CWString::FromUtf8(folder.str()));
    ResetIconCache();
    rg_Tavelkin_MingLingJi::AboutText() = rg_Ombrine_app::BuildAboutText();
    // A virtual screen large enough for the window at any factor the tests
    // choose, so that it opens at its design size.
    SetAvailableScreenArea(QRect(0, 0, 3840, 2400));
  }
  void TearDown() override {
    if (m_window) m_window->DestroyWindow();
    SetDpiFactor(1.0);
    SetAvailableScreenArea(QRect());
    InstallPlatformHooks(m_previousHooks);
    ResetIconCache();
    SetProgramFolder(m_savedFolder);
    rg_Tavelkin_MingLingJi::GlobalSettings().Reset();
  }

  // Makes the window at `factor` and waits for its first activation, which
  // names the action buttons after the checked function.
  Window& Open(double factor = 1.0) {
    SetDpiFactor(factor);
    m_window = std::make_unique<Window>();
    EXPECT_EQ(m_window->CreateForm(), 1);
    EXPECT_TRUE(PumpUntil([&] { return m_window->EncodeButton.GetButtonText() != u"编码"; }, 5000));
    return *m_window;
  }
  // The client area becomes width x height; the size handler lays it out.
  void Resize(int width, int height) {
    m_window->GetWidget()->resize(width, height);
    PumpUntil([&] { return m_window->GetClientWidth() == width && m_window->GetClientHeight() == height; });
    PumpFor(20);
  }

  TempDir folder;
  WindowHooks hooks;
  std::unique_ptr<Window> m_window;

 private:
  IPlatformHooks* m_previousHooks = nullptr;
  CWString m_savedFolder;
};

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool Overlaps(const Box& o) const { return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom(); }
  friend bool operator==(const Box& a, const Box& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
  }
  friend std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.x << ", " << b.y << ", " << b.width << ", " << b.height << ")";
  }
};

// The window rectangle relative to the parent's client area.
inline Box BoxOf(const CQzuWinControl& c) { return {c.GetLeft(), c.GetTop(), c.GetWidth(), c.GetHeight()}; }

// The text a user reads on a control: the caption of a button, a check, a
// radio, a label or a heading, the title of a drop-down list.
inline CWString CaptionOf(CQzuWinControl& c) {
  using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
  if (auto* b = dynamic_cast<rg_TavelkinAnNiu1*>(&c)) return b->GetButtonText();
  if (auto* d = dynamic_cast<rg_TavelkinZuGeKuang1*>(&c)) return d->GetDropDownTitle();
  if (auto* h = dynamic_cast<rg_TavelkinBiaoQian*>(&c)) return h->caption;
  if (dynamic_cast<rg_Ombrine_MFCJieMian_base::CQzuCheckableControl*>(&c) ||
      dynamic_cast<rg_Ombrine_MFCJieMian_base::rg_label8*>(&c))
    return c.GetCaption();
  return CWString();
}

// The text a control holds: an edit's text, a drop-down's value, an editor's text.
inline CWString TextOf(CQzuWinControl& c) {
  if (auto* d = dynamic_cast<rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1*>(&c))
    return d->GetDropDownValue();
  if (auto* e = dynamic_cast<rg_Ombrine_MFCJieMian_base::rg_edit_box*>(&c)) return e->GetText();
  if (auto* s = dynamic_cast<rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinHuoHuaBianJiKuang1*>(&c))
    return s->GetCodeEditText();
  return CWString();
}

// 1 checked, 0 not, -1 for a control that cannot be checked (a button not
// in check mode included).
inline int CheckedOf(CQzuWinControl& c) {
  if (auto* b = dynamic_cast<rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1*>(&c))
    return b->checkMode ? b->checked : -1;
  if (auto* k = dynamic_cast<rg_Ombrine_MFCJieMian_base::CQzuCheckableControl*>(&c)) return k->GetChecked() ? 1 : 0;
  return -1;
}

}  // namespace qzu_test
