// The two edit boxes with their right-click menus, holding Chinese text, in a
// window whose title carries a countdown hint. Run it and right-click either
// box, or with --menu code|rich to open that box's menu by itself (for a
// screenshot).
#include <QApplication>
#include <QCursor>
#include <QTimer>

#include <cstring>

#include "components/code_edit_with_menu.h"
#include "components/rich_edit_with_menu.h"
#include "components/title_hint.h"
#include "framework/application_startup.h"
#include "framework/win_form.h"

using namespace rg_TavelkinMingLingJi_ChangYongJiChengLei;

int main(int argc, char** argv) {
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  const char* menu = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--menu") == 0) menu = argv[i + 1];

  CQzuWinForm form;
  form.SetCaption(u"编码转换");
  form.CreateForm(nullptr, 40, 40, 900, 520);
  rg_TavelkinHuoHuaBianJiKuang1 code;
  rg_TavelkinChaoJiBianJiKuang1 rich;
  code.Create(&form, 10, 10, 430, 500);
  rich.Create(&form, 460, 10, 430, 500);
  CWString lines;
  const char16_t* sample[] = {u"床前明月光，疑是地上霜。", u"举头望明月，低头思故乡。", u"GBK 编码：B4B2 C7B0",
                              u"UTF-8 编码：E5 BA 8A E5 89 8D", u"繁體中文與簡體中文", u"Unicode 十六进制：&#x5E8A;"};
  for (int i = 0; i < 12; ++i) lines += CWString(sample[i % 6]) + u"\n";
  code.SetCodeEditText(lines);
  rich.SetText(u"转换结果：\r\n静夜思 李白\r\n床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。");
  SetMainWindowPointer(&form);
  SetTitleHint(u"正在处理第 3 个文件", u"3");

  if (menu) {
    QTimer::singleShot(800, [&] {
      const bool onCode = std::strcmp(menu, "code") == 0;
      CQzuWinControl& box = onCode ? static_cast<CQzuWinControl&>(code) : rich;
      if (onCode) code.Send(2160, 0, 15);  // select the first line's first five characters
      else rich.SetSel(5, 8);
      int x = 120, y = 90;
      box.ClientToScreen(x, y);
      QCursor::setPos(x, y);
      if (onCode) code.ShowCodeEditMenu();
      else rich.ShowRichEditMenu();
    });
  }
  const int result = app.exec();
  SetMainWindowPointer(nullptr);
  return result;
}
