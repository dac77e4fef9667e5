// A window with owner-drawn labels and scroll bars, to look at them: run it,
// or with --screenshot <file.png> [--press] to save a picture of the window
// (with --press: the horizontal bar's end box held down, the vertical bar's
// thumb hot) and quit.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "common/dpi.h"
#include "components/label_layout.h"
#include "components/owner_drawn_label.h"
#include "components/scroll_bar.h"
#include "framework/application_startup.h"
#include "framework/label.h"
#include "framework/win_form.h"

using namespace rg_Ombrine_MFCJieMian_base;
using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

class DemoForm : public CQzuWinForm {
 public:
  DemoForm() : m_receiver(CQzuReceiverRef::Make(this)) { SetCaption(u"自绘标签与滚动条"); }
  ~DemoForm() override { m_receiver->Detach(); }
  int DefaultWidth() const override { return ScaleByDpiFactor(560); }
  int DefaultHeight() const override { return ScaleByDpiFactor(330); }

  rg_TavelkinBiaoQian input, result, group;
  rg_TavelkinGunDongTiao1 horizontal, vertical, small;

 protected:
  void CreateChildren() override {
    SetBackColour(0xFFFFFF);
    auto S = [](int v) { return ScaleByDpiFactor(v); };

    // The main window's heading look: a larger own font, marker 0x0000FF.
    input.ownFont = 1;
    input.markerColour = 0x0000FF;
    input.Canvas().SetFontText(u"微软雅黑, 17, 0, 0, 0, 0, 0");
    input.BindLabelEventHandler(&DemoForm::Clicked, m_receiver);
    input.Create(this, S(10), S(10), S(250), S(44), 1);
    input.SetLabelText(u"输入内容（点击预览）");

    result.ruleStyle = kLabelRuleBoth;
    result.topRuleFitsCaption = 1;
    result.sideLineStyle = 1;
    result.Create(this, S(280), S(10), S(260), S(70), 2);
    result.SetLabelText(u"转换结果");

    group.markerWidth = 10;
    group.sideLineStyle = kLabelSideLineDotted;
    group.sideLineColour = static_cast<COLORREF>(-2);
    group.markerColour = 0x2E8B57;
    group.Create(this, S(10), S(70), S(250), S(150), 3);
    group.SetLabelText(u"批量转换");

    horizontal.contentSize = 50;
    horizontal.positionCount = 41;
    horizontal.OnPositionChanged.Connect(&DemoForm::Moved, m_receiver);
    horizontal.Create(this, S(10), S(240), S(500), S(18), 4);
    vertical.orientation = 1;
    vertical.OnPositionChanged.Connect(&DemoForm::Moved, m_receiver);
    vertical.Create(this, S(520), S(90), S(18), S(200), 5);
    small.positionCount = 5;
    small.Create(this, S(280), S(100), S(200), S(16), 6);

    m_status.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
    m_status.Create(this, S(10), S(270), S(500), S(26), 7, u"位置：");
    horizontal.SetScrollBarPosition(20);
    vertical.SetScrollBarPosition(60);
    small.SetScrollBarPosition(3);
  }

 private:
  static DemoForm* Self(CQzuObject* r) { return static_cast<DemoForm*>(r); }
  static intptr_t Moved(CQzuObject* r, CQzuObject*, intptr_t, int32_t) {
    DemoForm* f = Self(r);
    f->m_status.SetCaption(CWString(u"位置：水平 ") + CWString::FromInt(f->horizontal.position) + u" / " +
                           CWString::FromInt(f->horizontal.positionCount) + u"，垂直 " +
                           CWString::FromInt(f->vertical.position) + u" / " +
                           CWString::FromInt(f->vertical.positionCount));
    return 0;
  }
  static intptr_t Clicked(CQzuObject* r, CQzuObject*, intptr_t, int x, int y) {
    Self(r)->m_status.SetCaption(CWString(u"标签被点击：") + CWString::FromInt(x) + u", " + CWString::FromInt(y));
    return 0;
  }

  CQzuReceiverRef m_receiver;
  rg_label8 m_status;
};

}  // namespace

int main(int argc, char** argv) {
  const char* shot = nullptr;
  bool press = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) shot = argv[i + 1];
    if (!std::strcmp(argv[i], "--press")) press = true;
  }
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  DemoForm form;
  if (!form.CreateForm(nullptr, 20, 20)) {
    std::fprintf(stderr, "owner_drawn_demo: the window could not be created\n");
    return 1;
  }
  if (shot) {
    QTimer::singleShot(400, [&] {
      if (press) {
        form.horizontal.hotPart = kScrollBarEndBox;
        form.horizontal.RedrawScrollBar(kScrollBarEndBox, 1, kScrollBarDrawNow);
        form.vertical.RedrawScrollBar(kScrollBarThumb, 0, kScrollBarDrawNow);
      }
      QTimer::singleShot(100, [&] {
        const bool saved = form.GetWidget()->grab().save(QString::fromLocal8Bit(shot));
        std::printf("owner_drawn_demo: %s %s\n", saved ? "saved" : "could not save", shot);
        QApplication::quit();
      });
    });
  }
  return app.exec();
}
