#include "components/edit_box_menus.h"

#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_HuoHuaBianJiKuangYouJianCaiChanLei, rg_Ombrine_MFCJieMian_base::rg_CaiChanLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_HuoHuaBianJiKuangYouJianCaiChanLei")
QZU_IMPLEMENT_CLASS(rg_ChaoJiBianJiKuangYouJianCaiChanLei, rg_Ombrine_MFCJieMian_base::rg_CaiChanLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_ChaoJiBianJiKuangYouJianCaiChanLei")

namespace {

// One item: level, caption, name, id, an empty auxiliary text, no shortcut,
// then Ctrl, Shift, separator, checked and greyed.
CWString MenuItem(int level, const char16_t* caption, const char16_t* name, int id, bool separator = false) {
  return CWString(u"\n") + CWString::FromInt(level) + u"\n" + caption + u"\n" + name + u"\n" + CWString::FromInt(id) +
         u"\n\n\n0\n0\n" + (separator ? u"1" : u"0") + u"\n0\n0";
}

CWString Separator() { return MenuItem(1, u"", u"", 0, true); }

}  // namespace

CWString EditBoxMenuDefinitionText(int firstId) {
  return CWString(u"1") + MenuItem(0, u"顶级菜单", u"顶级菜单", firstId) +
         MenuItem(1, u"撤销(&U)", u"撤销", firstId + kEditMenuUndo) + Separator() +
         MenuItem(1, u"剪切(&C)", u"剪切", firstId + kEditMenuCut) +
         MenuItem(1, u"复制(&O)", u"复制", firstId + kEditMenuCopy) +
         MenuItem(1, u"粘贴(&P)", u"粘贴", firstId + kEditMenuPaste) +
         MenuItem(1, u"删除(&D)", u"删除", firstId + kEditMenuDelete) + Separator() +
         MenuItem(1, u"全选(&A)", u"全选", firstId + kEditMenuSelectAll);
}

void PopUpEditBoxMenu(rg_Ombrine_MFCJieMian_base::rg_CaiChanLei& menu, CQzuWinControl& box) {
  box.SetFocus();
  if (!box.HasWindow() || !menu.GetPopup(0)) return;
  int x = 0, y = 0;
  PlatformHooks().CursorPosition(x, y);
  menu.TrackPopup(x + 3, y + 3, &box);
}

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
