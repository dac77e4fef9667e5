// The input box as the program shows it: "input_box_demo view" shows a help
// text read-only, "input_box_demo input" asks for a text under a prompt; an
// optional second argument sets the DPI factor (1.5 shows the box scaled).
// Prints the answer and whether it was confirmed when the box closes.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/dpi.h"
#include "components/global_objects.h"
#include "framework/application_startup.h"

using namespace rg_Tavelkin_MingLingJi;

int main(int argc, char** argv) {
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  if (argc > 2) SetDpiFactor(std::atof(argv[2]));
  CreateGlobalObjects();
  const bool input = argc > 1 && std::strcmp(argv[1], "input") == 0;
  if (!input) {
    AboutText() =
        u"本软件用于转换文本和文本文件的字符编码。\r\n\r\n"
        u"2、自动识别时，没有BOM的短文本可能被识别为ANSI，请手动选择输入编码。\r\n"
        u"3、批量转换的结果保存在“转换结果”文件夹中，原文件备份在“原文件备份”文件夹中。\r\n"
        u"5、拖放文件或文件夹到批量按钮上即可开始批量转换。";
    ShowInputBox(AboutText(), CWString(), u"疑点说明");
    return 0;
  }
  CWString answer;
  const int ok = ShowInputBox(u"*.htm|*.html|*.txt", u"请输入要批量转换的文件类型，多个类型之间用竖线隔开：", CWString(),
                              &answer);
  std::printf("confirmed=%d answer=%s\n", ok, answer.ToUtf8().c_str());
  return 0;
}
