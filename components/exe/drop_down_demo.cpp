// A window with owner-drawn drop-down lists, to look at them: a charset list
// as the main window has it, a list with item icons and separators, an
// editable list, a colour list and a list in a nested panel near the bottom
// (it opens upward, in the window). Run it and use them; with --open NAME
// (icons, colours, editable or nested) that list opens by itself, for a
// screenshot, the icon list with its fifth row hot. With --open colours (and
// --open colour-window, which also chooses the custom colour row so that the
// window shows) a colour window of our own is registered, so the custom
// colour row opens it instead of the notice the program shows.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "common/dpi.h"
#include "components/byte_buffer_object.h"
#include "components/drop_down_list.h"
#include "components/icon_render_cache.h"
#include "components/svg_render.h"
#include "framework/application_startup.h"
#include "framework/bitmap_object.h"
#include "framework/colour_dialog.h"
#include "framework/label.h"
#include "framework/win_form.h"

using namespace rg_Ombrine_MFCJieMian_base;
using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

// Item icons, added after the handle icon (picture 0).
const char* const kIconSvgs[] = {
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>"
    "<rect x='2' y='1' width='12' height='14' rx='1' fill='#2f80d0'/>"
    "<path d='M5 5h6M5 8h6M5 11h4' stroke='#fff' stroke-width='1.5'/></svg>",
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>"
    "<path d='M1 4h5l1.5 1.5H15V14H1z' fill='#e0a020'/></svg>",
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>"
    "<circle cx='8' cy='8' r='6.5' fill='#3aa55a'/><path d='M5 8l2 2 4-4' stroke='#fff' stroke-width='1.8' "
    "fill='none'/></svg>",
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>"
    "<path d='M8 1l7 13H1z' fill='#d04040'/><path d='M8 6v4' stroke='#fff' stroke-width='1.6'/></svg>",
};

void AddItemIcons(rg_TavelkinZuGeKuang1& list, int size) {
  for (const char* svg : kIconSvgs) {
    auto* picture = new rg_Ombrine_base::rg_WeiTuDuiXiangLei();
    picture->LoadFromBytes(LoadSvgIcon(0, CQzuMem(svg, std::strlen(svg)), size, size,
                                       rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatPng, 1, 0));
    list.pictures.pictures.Add(picture);
    list.pictures.drawModes.Add(0);
    list.pictures.sources.Add(new ByteBufferObject(CQzuMem(svg, std::strlen(svg))));
  }
  list.pictures.MeasurePictureGroup();
}

class DemoForm : public CQzuWinForm {
 public:
  DemoForm() : m_receiver(CQzuReceiverRef::Make(this)) { SetCaption(u"自绘组合框"); }
  ~DemoForm() override { m_receiver->Detach(); }
  int DefaultWidth() const override { return ScaleByDpiFactor(620); }
  int DefaultHeight() const override { return ScaleByDpiFactor(420); }

  rg_TavelkinZuGeKuang1 charsets, icons, editable, colours, nested;
  rg_ZuJianBuJuQi panel;

 protected:
  void CreateChildren() override {
    SetBackColour(0xFFFFFF);
    auto S = [](int v) { return ScaleByDpiFactor(v); };

    charsets.SetDropDownTitle(u"输入编码");
    charsets.ItemChosenEvent.Connect(&DemoForm::Chosen, m_receiver);
    charsets.Create(this, S(10), S(12), S(234), S(26), 1);
    charsets.SetDropDownItemsText(u"自动识别\n0\nANSI\n0\nUTF-8\n0\nUnicode\n0\nUnicode BE\n0");
    charsets.AddDropDownHandleIcon();
    charsets.SelectDropDownItem(0);

    icons.SetDropDownTitle(u"输出");
    icons.numbering = 1;
    icons.ItemChosenEvent.Connect(&DemoForm::Chosen, m_receiver);
    icons.Create(this, S(260), S(12), S(250), S(28), 2);
    icons.AddDropDownHandleIcon();
    AddItemIcons(icons, icons.lineHeight);
    icons.SetDropDownItemsText(
        u"文本文件|0|1|10\r\n文件夹|0|2|11\r\n[-]\r\n转换成功|0|3|12\r\n有警告|0|4|13\r\n[-]\r\n没有图标|0|9|14\r\n"
        u"手柄图标|0|0|15");
    icons.SelectDropDownItem(3);
    icons.SetDropDownTipText(u"带图标和分隔线的列表");

    editable.style = kDropDownEditable;
    editable.SetDropDownTitle(u"拼音概率");
    editable.Create(this, S(10), S(60), S(234), S(29), 3);
    editable.SetDropDownItemsText(u"5%\r\n10%\r\n30%\r\n50%\r\n70%\r\n90%\r\n100%");
    editable.SelectDropDownItem(0);

    colours.colourMode = 1;
    colours.customColour = 0x7FBF3F;
    colours.Create(this, S(260), S(60), S(250), S(26), 4);
    colours.SetDropDownItemsText(u"自定义颜色|-2\r\n红色|255\r\n绿色|65280\r\n蓝色|16711680\r\n白色|-1\r\n按钮面|-16777216");
    colours.SetDropDownColour(65280);

    // A panel near the bottom: its list opens in the window, upward.
    panel.SetBackColour(0xF4F4F4);
    panel.Create(this, S(10), S(330), S(600), S(60), 5);
    nested.SetDropDownTitle(u"嵌套");
    nested.ItemChosenEvent.Connect(&DemoForm::Chosen, m_receiver);
    nested.Create(&panel, S(10), S(17), S(300), S(26), 6);
    CWString rows;
    for (int i = 1; i <= 25; ++i) rows += (i > 1 ? u"\r\n第" : u"第") + CWString::FromInt(i) + u"项";
    nested.SetDropDownItemsText(rows);
    nested.SelectDropDownItem(20);

    m_status.SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
    m_status.Create(this, S(10), S(290), S(500), S(26), 7, u"选择：");
  }

 private:
  static intptr_t Chosen(CQzuObject* r, CQzuObject* sender, intptr_t) {
    auto* list = static_cast<rg_TavelkinZuGeKuang1*>(sender);
    static_cast<DemoForm*>(r)->m_status.SetCaption(u"选择：" + list->GetDropDownValue());
    return 0;
  }

  CQzuReceiverRef m_receiver;
  rg_label8 m_status;
};

}  // namespace

int main(int argc, char** argv) {
  const char* open = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (!std::strcmp(argv[i], "--open")) open = argv[i + 1];
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  DemoForm form;
  CQzuColourDialog colourWindow;
  const bool colourWindowWanted = open && (!std::strcmp(open, "colours") || !std::strcmp(open, "colour-window"));
  if (colourWindowWanted) SetColourWindowPointer(&colourWindow);
  if (!form.CreateForm(nullptr, 20, 20)) {
    std::fprintf(stderr, "drop_down_demo: the window could not be created\n");
    return 1;
  }
  if (open) {
    QTimer::singleShot(600, [&] {
      rg_TavelkinZuGeKuang1* list = colourWindowWanted                 ? &form.colours
                                    : !std::strcmp(open, "editable") ? &form.editable
                                    : !std::strcmp(open, "nested")   ? &form.nested
                                                                     : &form.icons;
      list->ToggleDropDownList();
      if (list == &form.icons) list->hotRow = 4;
      list->RedrawDropDownList(kDropDownPaintNow);
      if (!std::strcmp(open, "colour-window")) {
        // Choosing the custom colour row waits in the window's loop until it closes.
        QTimer::singleShot(300, [list] {
          list->hotRow = 0;
          list->ToggleDropDownList();
        });
      }
    });
  }
  const int code = app.exec();
  SetColourWindowPointer(nullptr);
  return code;
}
