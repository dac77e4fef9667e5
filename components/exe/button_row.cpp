// A window with rows of owner-drawn buttons and check boxes, one per visual
// state, with SVG and bitmap images and two-line captions. Used to look at the
// buttons: run it and hover, press and click them; the fixed states shown on
// the left of each row stay as set until the pointer passes over them.
#include <QApplication>
#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <memory>
#include <vector>

#include "common/dpi.h"
#include "components/owner_drawn_button.h"
#include "framework/application_startup.h"
#include "framework/label.h"
#include "framework/win_form.h"
#include "platform/resource_loader.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using rg_Ombrine_MFCJieMian_base::rg_label8;

namespace {

constexpr int kSvgBatch = 9101;
constexpr int kSvgPaste = 9102;
constexpr int kBitmapPicture = 9103;

const char kBatchSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<path d='M3 6h7l2 2h9v11a1 1 0 0 1-1 1H4a1 1 0 0 1-1-1z' fill='#2f80d0'/>"
    "<path d='M3 6h7l2 2H3z' fill='#1d5fa0'/>"
    "<path d='M9 14h6m-3-3v6' stroke='#fff' stroke-width='2' stroke-linecap='round'/></svg>";
const char kPasteSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<rect x='5' y='4' width='14' height='17' rx='2' fill='#e08a1e'/>"
    "<rect x='8' y='2' width='8' height='4' rx='1' fill='#8a5210'/>"
    "<rect x='8' y='9' width='8' height='2' fill='#fff'/><rect x='8' y='13' width='6' height='2' fill='#fff'/></svg>";

// A small 24-bit BMP: a sunset square, as a picture resource stored as bitmap.
QByteArray MakeBitmapPicture() {
  QImage image(28, 28, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient sky(0, 0, 0, 28);
  sky.setColorAt(0, QColor(255, 170, 60));
  sky.setColorAt(1, QColor(200, 40, 90));
  p.fillRect(image.rect(), sky);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(255, 236, 120));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(8, 10, 12, 12));
  p.fillRect(0, 20, 28, 8, QColor(40, 60, 110));
  p.end();
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bmp;
}

const char16_t* const kStateNames[] = {u"普通", u"悬停", u"按下", u"禁用"};

class ButtonRowForm : public CQzuWinForm {
 public:
  ButtonRowForm() { SetCaption(u"按钮与选中框 - 各种状态"); }
  int DefaultWidth() const override { return ScaleByDpiFactor(960); }
  int DefaultHeight() const override { return ScaleByDpiFactor(400); }

 protected:
  void CreateChildren() override {
    SetBackColour(0xFFFFFF);
    auto S = [](int v) { return ScaleByDpiFactor(v); };
    const CWString font = u"微软雅黑, 11, 0, 0, 0, 0, 0";
    int y = S(12);
    AddRowTitle(y, u"SVG 图像、两行标题：");
    for (int state = 0; state < 4; ++state) {
      auto& b = Add<rg_TavelkinAnNiu1>();
      b.imageRenderWidth = 24;
      b.imageRenderHeight = 24;
      b.SetButtonText(CWString(u"批量编码\r\n") + kStateNames[state]);
      b.SetButtonToolTip(u"按住Ctrl键可以选择多个文件");
      b.Create(this, S(12 + 200 * state), y + S(28), S(180), S(60));
      b.SetButtonFont(font);
      b.SetButtonSvgResource(kSvgBatch);
      b.visualState = state;
      b.RedrawButton();
    }

    y += S(104);
    AddRowTitle(y, u"位图图像（悬停图由亮度生成）、选中模式按钮：");
    for (int state = 0; state < 4; ++state) {
      auto& b = Add<rg_TavelkinAnNiu1>();
      b.hoverBrightness = 50;
      b.gap = 8;
      b.SetButtonText(CWString(u"位图按钮\r\n") + kStateNames[state]);
      b.Create(this, S(12 + 200 * state), y + S(28), S(180), S(50));
      b.SetButtonFont(font);
      b.SetButtonBitmapResource(kBitmapPicture);
      b.visualState = state;
      b.RedrawButton();
    }
    auto& toggle = Add<rg_TavelkinAnNiu1>();
    toggle.checkMode = 1;
    toggle.backColours = {0xF4EFEA, 0xFFFFFF, 0xFFFFFF, kColourOfNormalState};
    toggle.borderColours = {0xFFC1C1, 0x9F40FF, 0xC080FF, kColourOfNormalState};
    toggle.imageRenderWidth = 16;
    toggle.imageRenderHeight = 16;
    toggle.SetButtonText(u"选中的开关");
    toggle.Create(this, S(812), y + S(28), S(136), S(50));
    toggle.SetButtonFont(u"微软雅黑, 9, 0, 0, 0, 0, 0");
    toggle.SetButtonSvgResource(kSvgPaste);
    toggle.SetButtonChecked(1);

    y += S(94);
    AddRowTitle(y, u"选中框：方形与圆形，未选中、选中、悬停、禁用：");
    struct Box {
      const char16_t* caption;
      int round, checked, state;
    } boxes[] = {{u"遍历子目录", 0, 0, 0}, {u"去除 BOM", 0, 1, 0}, {u"悬停未选", 0, 0, 1}, {u"禁用选中", 0, 1, 3},
                 {u"圆形未选", 1, 0, 0}, {u"圆形选中", 1, 1, 0}, {u"圆形悬停", 1, 1, 1}, {u"两行的\r\n选中框", 1, 1, 0}};
    for (int i = 0; i < 8; ++i) {
      auto& box = Add<rg_TavelkinXuanZhongKuang1>();
      box.parentColour = 0xFFFFFF;
      box.roundGlyph = boxes[i].round;
      box.checked = boxes[i].checked;
      box.SetButtonText(boxes[i].caption);
      const int row = i / 4, column = i % 4;
      box.Create(this, S(12 + 200 * column), y + S(28 + 44 * row), S(180), S(i == 7 ? 42 : 36));
      box.SetButtonFont(font);
      box.visualState = boxes[i].state;
      box.RedrawButton();
    }
  }

 private:
  template <class T>
  T& Add() {
    m_buttons.push_back(std::make_unique<T>());
    return static_cast<T&>(*m_buttons.back());
  }
  void AddRowTitle(int y, const char16_t* text) {
    m_titles.push_back(std::make_unique<rg_label8>());
    m_titles.back()->SetFontText(u"微软雅黑, 10, 1, 0, 0, 0, 0");
    m_titles.back()->Create(this, ScaleByDpiFactor(12), y, ScaleByDpiFactor(600), ScaleByDpiFactor(22), 0, text);
  }

  std::vector<std::unique_ptr<rg_TavelkinAnNiu1>> m_buttons;
  std::vector<std::unique_ptr<rg_label8>> m_titles;
};

}  // namespace

int main(int argc, char** argv) {
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  RegisterResource(kSvgBatch, kBatchSvg, sizeof kBatchSvg - 1);
  RegisterResource(kSvgPaste, kPasteSvg, sizeof kPasteSvg - 1);
  const QByteArray bitmap = MakeBitmapPicture();
  RegisterResource(kBitmapPicture, bitmap.constData(), static_cast<size_t>(bitmap.size()));
  ButtonRowForm form;
  if (!form.CreateForm(nullptr, 20, 20)) {
    std::fprintf(stderr, "button_row: the window could not be created\n");
    return 1;
  }
  return app.exec();
}
