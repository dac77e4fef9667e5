// A window with the banner strip across its top, as the main window places
// it: created last at (0, 0), 1239 x 91, its width following the window's.
// Used to look at the strip: run it with a DPI factor (banner_demo 1.5) and
// watch the wide picture glide; hover and press the items and links (a right
// click on the gliding picture pauses it). The line under the strip names the
// last event the strip raised. "banner_demo 1.5 hover" puts the pointer on the
// help item after a moment, for a screenshot of the hover picture.
#include <QApplication>
#include <QCursor>
#include <QTimer>

#include <cstdlib>
#include <cstring>

#include "common/dpi.h"
#include "components/banner_strip.h"
#include "framework/application_startup.h"
#include "framework/label.h"
#include "framework/win_form.h"

using rg_Tavelkin_GongNengChuangKou::rg_TavelkinPinPaiHengFuLei1;

namespace {

class BannerForm : public CQzuWinForm {
 public:
  BannerForm() : m_receiver(CQzuReceiverRef::Make(this)) { SetCaption(u"品牌横幅"); }
  ~BannerForm() override { m_receiver->Detach(); }
  int DefaultWidth() const override { return ScaleByDpiFactor(1239); }
  int DefaultHeight() const override { return ScaleByDpiFactor(260); }

 protected:
  void CreateChildren() override {
    SetBackColour(0xECECEC);
    OnSize.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int width, int) -> intptr_t {
      static_cast<BannerForm*>(r)->m_banner.SetWidth(width);
      return 0;
    }, m_receiver);
    m_status.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
    m_status.Create(this, ScaleByDpiFactor(12), ScaleByDpiFactor(120), ScaleByDpiFactor(800), ScaleByDpiFactor(28),
                    1, u"事件：（无）");
    m_banner.RightPressEvent.Connect(&Note<kRightPress>, m_receiver);
    m_banner.ItemEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int i) -> intptr_t {
      static_cast<BannerForm*>(r)->Show(u"附加项目 " + CWString::FromInt(i));
      return 0;
    }, m_receiver);
    m_banner.HelpEvent.Connect(&Note<kHelp>, m_receiver);
    m_banner.BackgroundPressEvent.Connect(&Note<kBackground>, m_receiver);
    m_banner.Create(this, 0, 0, ScaleByDpiFactor(1239), ScaleByDpiFactor(91), 185);
    m_banner.SetBannerHomeLink(rg_Tavelkin_GongNengChuangKou::kBannerHomeAddress);
  }

 private:
  enum Kind { kRightPress, kHelp, kBackground };
  template <Kind kind>
  static intptr_t Note(CQzuObject* r, CQzuObject*, intptr_t) {
    const char16_t* names[] = {u"右键按下", u"疑点说明（已接管）", u"横幅空白处按下"};
    static_cast<BannerForm*>(r)->Show(names[kind]);
    return kind == kHelp ? 1 : 0;
  }
  void Show(const CWString& what) { m_status.SetCaption(u"事件：" + what); }

 public:
  void PointAtHelpItem() {
    auto& item = m_banner.HelpItem();
    int x = item.GetWidth() / 2, y = item.GetHeight() / 2;
    item.ClientToScreen(x, y);
    QCursor::setPos(x, y);
  }

 private:

  CQzuReceiverRef m_receiver;
  rg_Ombrine_MFCJieMian_base::rg_label8 m_status;
  rg_TavelkinPinPaiHengFuLei1 m_banner;  // made last, as the main window does
};

}  // namespace

int main(int argc, char** argv) {
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  if (argc > 1) SetDpiFactor(std::atof(argv[1]));
  BannerForm form;
  form.CreateForm();
  if (argc > 2 && std::strcmp(argv[2], "hover") == 0) QTimer::singleShot(800, [&] { form.PointAtHelpItem(); });
  return app.exec();
}
