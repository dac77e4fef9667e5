// A window with one of each framework control and a small owner-drawn
// control painted on a canvas, which reacts to hover and press. Used to look
// at the framework: run it, or with --screenshot <file.png> [--state hover|press]
// to save a picture of the window and quit.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "common/dpi.h"
#include "framework/application_startup.h"
#include "framework/check_box.h"
#include "framework/combo_box.h"
#include "framework/context_menu.h"
#include "framework/edit_box.h"
#include "framework/file_dialog.h"
#include "framework/hyperlink.h"
#include "framework/label.h"
#include "framework/painter.h"
#include "framework/push_button.h"
#include "framework/rich_edit.h"
#include "framework/scintilla_host.h"
#include "framework/timer_control.h"
#include "framework/win_form.h"
#include "platform/hooks.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

// The owner-drawn pattern in small: a hidden canvas it paints on, a visible
// display that shows the canvas, and a 50 ms hover watch.
class SampleButton : public rg_ZuJianBuJuQi {
 public:
  SampleButton() : m_receiver(CQzuReceiverRef::Make(this)) {}
  ~SampleButton() override { m_receiver->Detach(); }

  int state = 0;  // 0 normal, 1 hover, 2 pressed
  int clicks = 0;

  void Redraw() {
    if (!m_display.HasWindow()) return;
    CQzuDC& dc = m_canvas.GetDC();
    const COLORREF back[] = {0xECECEC, 0xFBF1E5, 0xF5D8B0};
    const COLORREF border[] = {0xC0C0C0, 0xDB8417, 0x9F4000};
    const int w = dc.Width(), h = dc.Height();
    dc.Clear(0xFFFFFF);
    dc.SetPen(border[state]);
    dc.SetBrush(back[state]);
    dc.RoundRect({0, 0, w, h}, 10, 10);
    dc.AaFillEllipse(ScaleForDpi(10), h / 2.0 - ScaleForDpi(8), ScaleForDpi(16), ScaleForDpi(16),
                     state == 2 ? 0xFFFF6666 : 0xFF3C8CDC);
    dc.SetFontText(u"微软雅黑, 12, 0, 0, 0, 0, 0");
    dc.SetBkMode(kBkTransparent);
    dc.SetTextColour(state == 1 ? 0x0000FF : 0x000000);
    const CWString caption = CWString(u"画布控件 ") + (state == 0 ? u"普通" : state == 1 ? u"悬停" : u"按下") +
                             u" 点击 " + CWString::FromInt(clicks);
    QzuRect box{ScaleForDpi(32), 0, w, h};
    dc.DrawText(caption, box, kDtSingleLine | kDtVCenter | kDtNoPrefix);
    m_display.CopyCanvasFrom(m_canvas);
  }

 protected:
  void CreateChildren() override {
    OnSize.Connect(&SampleButton::Resized, m_receiver);
    m_canvas.SetVisible(false);
    m_canvas.Create(this, 0, 0, GetClientWidth(), GetClientHeight(), 101);
    m_timer.OnTick.Connect(&SampleButton::HoverWatch, m_receiver);
    m_timer.Create(this, 0, 0, 1, 1, 102);
    m_display.OnMouseMove.Connect(&SampleButton::Moved, m_receiver);
    m_display.OnLeftDown.Connect(&SampleButton::Pressed, m_receiver);
    m_display.OnLeftUp.Connect(&SampleButton::Released, m_receiver);
    m_display.OnRightUp.Connect(&SampleButton::ContextMenu, m_receiver);
    m_display.SetToolTip(u"悬停、按下、右击试试");
    m_display.SetToolTipStyle(0x008000, 3);
    m_display.Create(this, 0, 0, GetClientWidth(), GetClientHeight(), 103);
    Redraw();
  }

 private:
  static SampleButton* Self(CQzuObject* r) { return static_cast<SampleButton*>(r); }
  static intptr_t Resized(CQzuObject* r, CQzuObject*, intptr_t, int w, int h) {
    if (w <= 0 || h <= 0) return 0;
    Self(r)->m_canvas.Move(0, 0, w, h);
    Self(r)->m_display.Move(0, 0, w, h);
    Self(r)->Redraw();
    return 0;
  }
  static intptr_t Moved(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
    SampleButton* s = Self(r);
    if (s->m_timer.GetInterval() == 0) s->m_timer.SetTimer(1000, 50);
    if (s->state == 0) {
      s->state = 1;
      s->Redraw();
    }
    return 0;
  }
  static intptr_t HoverWatch(CQzuObject* r, CQzuObject*, intptr_t) {
    SampleButton* s = Self(r);
    int x = 0, y = 0;
    PlatformHooks().CursorPosition(x, y);
    s->m_display.ScreenToClient(x, y);
    if (x >= 0 && y >= 0 && x <= s->m_display.GetClientWidth() && y <= s->m_display.GetClientHeight()) return 0;
    s->m_timer.SetInterval(0);
    s->state = 0;
    s->Redraw();
    return 0;
  }
  static intptr_t Pressed(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
    Self(r)->state = 2;
    Self(r)->clicks++;
    Self(r)->Redraw();
    return 0;
  }
  static intptr_t Released(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
    Self(r)->state = 1;
    Self(r)->Redraw();
    return 0;
  }
  static intptr_t ContextMenu(CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int) {
    SampleButton* s = Self(r);
    rg_CaiChanLei menu;
    menu.SetMenuDefinitionText(
        u"1\n0\n菜单\n菜单\n9000\n\n\n0\n0\n0\n0\n0\n1\n清零(&Z)\n清零\n9001\n\nZ\n1\n0\n0\n0\n0"
        u"\n1\n\n\n0\n\n\n0\n0\n1\n0\n0\n1\n关于\n关于\n9002\n\n\n0\n0\n0\n0\n0");
    s->m_display.ClientToScreen(x, y);
    const int id = menu.TrackPopup(x, y, s, true);
    if (id == 9001) s->clicks = 0;
    if (id == 9002) ShowMessageBox(u"框架示例：画布控件", u"信息:", kMbOk | kMbIconInformation);
    s->Redraw();
    return 0;
  }

  CQzuReceiverRef m_receiver;
  rg_painter m_canvas;
  rg_timer m_timer;
  rg_painter m_display;
};

class GalleryForm : public CQzuWinForm {
 public:
  GalleryForm() : m_receiver(CQzuReceiverRef::Make(this)) { SetCaption(u"控件示例 - 窗口框架"); }
  ~GalleryForm() override { m_receiver->Detach(); }
  int DefaultWidth() const override { return ScaleByDpiFactor(760); }
  int DefaultHeight() const override { return ScaleByDpiFactor(520); }
  SampleButton sample;

 protected:
  void CreateChildren() override {
    SetBackColour(0xFFFFFF);
    const CWString font = u"微软雅黑, 11, 0, 0, 0, 0, 0";
    auto S = [](int v) { return ScaleByDpiFactor(v); };

    m_label.SetFontText(u"微软雅黑, 11, 1, 0, 0, 0, 0");
    m_label.Create(this, S(10), S(10), S(330), S(26), 1, u"标签：转换前请选择输入编码");
    m_edit.SetFontText(font);
    m_edit.SetCueBanner(u"默认换行");
    m_edit.Create(this, S(10), S(42), S(330), S(26), 2, u"*.htm|*.html|*.txt");
    m_button.SetFontText(font);
    m_button.SetToolTip(u"打开文件选择对话框");
    m_button.OnClick.Connect(&GalleryForm::OpenFiles, m_receiver);
    m_button.Create(this, S(10), S(76), S(120), S(30), 3, u"选择文件…");
    m_check.SetFontText(font);
    m_check.SetChecked(true);
    m_check.Create(this, S(140), S(78), S(100), S(26), 4, u"遍历子目录");
    m_radio1.SetFontText(font);
    m_radio1.SetChecked(true);
    m_radio1.Create(this, S(10), S(112), S(80), S(26), 5, u"删除重复");
    m_radio2.SetFontText(font);
    m_radio2.Create(this, S(100), S(112), S(110), S(26), 6, u"提取没有重复");
    m_list.SetFontText(font);
    for (const char16_t* t : {u"自动识别", u"ANSI", u"UTF-8", u"Unicode", u"Unicode BE"}) m_list.AddItem(t);
    m_list.SetCurSel(0);
    m_list.Create(this, S(10), S(146), S(160), S(28), 7);
    m_combo.SetFontText(font);
    for (const char16_t* t : {u"5%", u"10%", u"30%", u"100%"}) m_combo.AddItem(t);
    m_combo.Create(this, S(180), S(146), S(160), S(28), 8, u"30%", kCbsDropDown);
    m_link.SetFontText(font);
    m_link.SetAddress(u"https://www.example.com/");
    m_link.Create(this, S(10), S(182), S(330), S(24), 9, u"超链接：打开示例网站");
    m_multi.SetFontText(font);
    m_multi.Create(this, S(10), S(212), S(330), S(70), 10, u"多行编辑框\n第二行：中文与 English", qzu_win::kEsMultiline | qzu_win::kWsVScroll);
    m_rich.SetFontText(font);
    m_rich.SetBackColour(0xECECEC);
    m_rich.SetReadOnly(true);
    m_rich.Create(this, S(360), S(10), S(380), S(110), 11, u"富文本框（只读）：\n疑点说明与帮助文字显示在这里。");
    m_scintilla.SetFontText(font);
    m_scintilla.Create(this, S(360), S(130), S(380), S(152), 12);
    m_scintilla.SetText(u"中國ABC123\r\n\r\n华夏ABC123 😀\r\n代码编辑框（Scintilla）");
    sample.Create(this, S(10), S(300), S(330), S(48), 13);
    m_ticks.SetFontText(font);
    m_ticks.Create(this, S(360), S(300), S(380), S(26), 14, u"计时器：0");
    m_timer.OnTick.Connect(&GalleryForm::Tick, m_receiver);
    m_timer.SetTimer(1000, 500);
    m_timer.Create(this, 0, 0, 1, 1, 15);
  }

 private:
  static GalleryForm* Self(CQzuObject* r) { return static_cast<GalleryForm*>(r); }
  static intptr_t Tick(CQzuObject* r, CQzuObject*, intptr_t) {
    GalleryForm* f = Self(r);
    f->m_ticks.SetCaption(CWString(u"计时器：") + CWString::FromInt(++f->m_tickCount));
    return 0;
  }
  static intptr_t OpenFiles(CQzuObject* r, CQzuObject*, intptr_t) {
    rg_TongYongDuiHuaKuang dialog;
    dialog.multiSelect = 1;
    dialog.title = u"导入文件内容（按下Ctrl键保留原来内容）：";
    dialog.filter = u"文本文件(*.txt)|*.txt|网页文件(*.htm;*.html)|*.htm;*.html|全部文件(*.*)|*.*";
    dialog.filterIndex = 3;
    if (dialog.Show(Self(r))) Self(r)->m_multi.SetText(dialog.GetFileNames().IsEmpty() ? CWString() : dialog.GetFileName());
    return 0;
  }

  CQzuReceiverRef m_receiver;
  rg_label8 m_label;
  rg_edit_box m_edit;
  rg_button m_button;
  rg_check_box m_check;
  rg_radio_box m_radio1, m_radio2;
  rg_combo_box m_list, m_combo;
  rg_hyperlink m_link;
  rg_edit_box m_multi;
  rg_rich_edit m_rich;
  rg_scintilla_edit m_scintilla;
  rg_label8 m_ticks;
  rg_timer m_timer;
  int m_tickCount = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const char* shot = nullptr;
  const char* state = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    if (!std::strcmp(argv[i], "--screenshot")) shot = argv[i + 1];
    if (!std::strcmp(argv[i], "--state")) state = argv[i + 1];
  }
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  GalleryForm form;
  if (!form.CreateForm(nullptr, 20, 20)) {
    std::fprintf(stderr, "gallery: the window could not be created\n");
    return 1;
  }
  if (shot) {
    QTimer::singleShot(400, [&] {
      QWidget* display = form.sample.GetWidget()->findChildren<QWidget*>().last();
      const QPoint centre(display->width() / 2, display->height() / 2);
      if (state) {
        QCursor::setPos(display->mapToGlobal(centre));
        QMouseEvent move(QEvent::MouseMove, centre, display->mapToGlobal(centre), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(display, &move);
      }
      if (state && !std::strcmp(state, "press")) {
        QMouseEvent press(QEvent::MouseButtonPress, centre, display->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(display, &press);
      }
      QTimer::singleShot(100, [&] {
        const bool saved = form.GetWidget()->grab().save(QString::fromLocal8Bit(shot));
        std::printf("gallery: %s %s\n", saved ? "saved" : "could not save", shot);
        QTimer::singleShot(state ? 0 : 1500, [] { QApplication::quit(); });
      });
    });
  }
  return app.exec();
}
