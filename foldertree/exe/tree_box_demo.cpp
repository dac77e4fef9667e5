// A window with two tree boxes over folder-like rows: on the left with icons,
// check boxes in all three states and tree lines, a selected row and a bold
// row; on the right a narrow one whose long names and many rows bring out
// both scroll bars. Run it and click, expand, check, scroll and rename (a
// slow second click or F2). With --screenshot FILE it saves the window after
// it has settled and quits; --factor F paints at another DPI factor.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/dpi.h"
#include "components/icon_render_cache.h"
#include "foldertree/tree_box.h"
#include "framework/application_startup.h"
#include "framework/win_form.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

const char kFolderSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<path d='M2 5h8l2 2h10v12a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1z' fill='#f2c14e'/>"
    "<path d='M2 9h20v10a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1z' fill='#f7d774'/></svg>";
const char kOpenFolderSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<path d='M2 5h8l2 2h10v12a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1z' fill='none' stroke='#2f80d0' stroke-width='2'/></svg>";
const char kDriveSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<rect x='2' y='7' width='20' height='10' rx='2' fill='#8a97a8'/>"
    "<rect x='4' y='9' width='12' height='6' fill='#c9d2dd'/><circle cx='19' cy='12' r='1.5' fill='#4cd964'/></svg>";
const char kComputerSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<rect x='2' y='3' width='20' height='14' rx='1' fill='#3a4a5e'/>"
    "<rect x='4' y='5' width='16' height='10' fill='#5fb3f0'/><rect x='8' y='19' width='8' height='2' fill='#3a4a5e'/></svg>";
const char kStarSvg[] =
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"
    "<path d='M12 2l3 7 7 .6-5.3 4.7 1.6 7.2L12 17.8 5.7 21.5l1.6-7.2L2 9.6 9 9z' fill='#f5b301'/></svg>";

enum Icon { kFolder, kOpenFolder, kDrive, kComputer, kStar };

void AddIcons(rg_TavelkinShuXingKuang& box) {
  for (const char* svg : {kFolderSvg, kOpenFolderSvg, kDriveSvg, kComputerSvg, kStarSvg})
    box.AddTreeImage(LoadSvgIcon(0, CQzuMem(svg, std::strlen(svg)), 24, 24, 0, 0, 0));
}

struct Row {
  const char16_t* text;
  int level, icon, expand, check;
};

void AddRows(rg_TavelkinShuXingKuang& box, const Row* rows, size_t count) {
  TreeBoxModel& m = box.Model();
  m.SetRedrawEnabled(0);
  for (size_t i = 0; i < count; ++i) {
    const Row& r = rows[i];
    m.AppendTreeRow(r.text, r.icon, 0, r.expand, r.level);
    TreeRowLocator locator;
    if (r.check) m.SetRowCheckState(static_cast<int>(i), r.check, 0, locator, 1);
  }
  m.SetRedrawEnabled(1);
}

const Row kLeftRows[] = {
    {u"桌面", 0, kFolder, 0, 0},
    {u"我的文档", 0, kFolder, 2, 1},
    {u"工作报告", 1, kFolder, 0, 1},
    {u"旧文件（GBK 编码）", 1, kFolder, 2, 2},
    {u"2019", 2, kFolder, 0, 1},
    {u"2020", 2, kFolder, 0, 0},
    {u"照片", 1, kFolder, 0, 0},
    {u"我的电脑", 0, kComputer, 3, 3},
    {u"系统 (C:)", 1, kDrive, 0, 0},
    {u"Windows", 2, kFolder, 0, 0},
    {u"资料 (D:)", 1, kDrive, 2, 0},
    {u"网页存档", 2, kFolder, 0, 0},
    {u"转换结果", 2, kFolder, 0, 1},
    {u"收藏夹", 0, kStar, 0, 0},
    {u"本软件所在目录", 1, kFolder, 0, 0},
};

class TreeDemoForm : public CQzuWinForm {
 public:
  TreeDemoForm() { SetCaption(u"树形框 - 图标、选择框与连线"); }
  int DefaultWidth() const override { return ScaleByDpiFactor(620); }
  int DefaultHeight() const override { return ScaleByDpiFactor(420); }

  rg_TavelkinShuXingKuang left;
  rg_TavelkinShuXingKuang right;

 protected:
  void CreateChildren() override {
    SetBackColour(0xF0F0F0);
    auto S = [](int v) { return ScaleByDpiFactor(v); };
    left.checkBoxes = 1;
    left.hoverUnderline = 1;
    left.renameOnSlowClick = 1;
    left.Create(this, S(10), S(10), S(340), S(400), 1);
    AddIcons(left);
    AddRows(left, kLeftRows, std::size(kLeftRows));
    left.Model().SetSelectedRowValue(2);
    left.PaintTreeBox(-1);

    right.renameOnSlowClick = 1;
    right.Create(this, S(360), S(10), S(250), S(400), 2);
    AddIcons(right);
    TreeBoxModel& m = right.Model();
    m.SetRedrawEnabled(0);
    m.AppendTreeRow(u"转换结果", kFolder, 0, 2, 0);
    for (int i = 1; i <= 40; ++i) {
      m.AppendTreeRow(CWString(u"第") + CWString::FromInt(i) + u"批 - 一个相当长的目录名称，用来看横向滚动", kFolder, 0,
                      0, 1);
      if (i % 7 == 0) m.AppendTreeRow(u"子目录", kFolder, 0, 0, 2);
    }
    m.SetRedrawEnabled(1);
    right.PaintTreeBox(-1);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const char* shot = nullptr;
  double factor = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) shot = argv[i + 1];
    if (!std::strcmp(argv[i], "--factor") && i + 1 < argc) factor = std::atof(argv[i + 1]);
  }
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();
  if (factor > 0) SetDpiFactor(factor);
  TreeDemoForm form;
  if (!form.CreateForm(nullptr, 20, 20)) {
    std::fprintf(stderr, "tree_box_demo: the window could not be created\n");
    return 1;
  }
  if (shot) {
    QTimer::singleShot(600, [&] {
      const bool saved = form.GetWidget()->grab().save(QString::fromLocal8Bit(shot));
      std::printf("tree_box_demo: %s %s\n", saved ? "saved" : "could not save", shot);
      QApplication::quit();
    });
  }
  return app.exec();
}
