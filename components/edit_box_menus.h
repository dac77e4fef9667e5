#pragma once
// The right-click menus of the two edit boxes (undo, cut, copy, paste,
// delete, select all) and the popping up they share. Both menus have one
// top-level popup "顶级菜单" whose command ids follow its own: the code edit
// box's menu is 8000 to 8006, the rich edit box's 9000 to 9006. UI thread only.
#include "framework/context_menu.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

// Offsets of the commands from the menu's first id.
enum : int {
  kEditMenuUndo = 1,
  kEditMenuCut = 2,
  kEditMenuCopy = 3,
  kEditMenuPaste = 4,
  kEditMenuDelete = 5,
  kEditMenuSelectAll = 6,
};
inline constexpr int kCodeEditMenuFirstId = 8000;
inline constexpr int kRichEditMenuFirstId = 9000;

// The menu definition text with the popup at `firstId` and its commands
// after it; separators before cut and before select all.
CWString EditBoxMenuDefinitionText(int firstId);

class rg_HuoHuaBianJiKuangYouJianCaiChanLei : public rg_Ombrine_MFCJieMian_base::rg_CaiChanLei {
  QZU_DECLARE_CLASS(rg_HuoHuaBianJiKuangYouJianCaiChanLei)
 public:
  CWString GetMenuDefinitionText() const override { return EditBoxMenuDefinitionText(kCodeEditMenuFirstId); }
};

class rg_ChaoJiBianJiKuangYouJianCaiChanLei : public rg_Ombrine_MFCJieMian_base::rg_CaiChanLei {
  QZU_DECLARE_CLASS(rg_ChaoJiBianJiKuangYouJianCaiChanLei)
 public:
  CWString GetMenuDefinitionText() const override { return EditBoxMenuDefinitionText(kRichEditMenuFirstId); }
};

// Gives `box` the focus, then, when it has a window and the menu builds,
// shows the menu's first popup with its top-left corner 3 pixels right of
// and below the mouse pointer. The chosen command reaches the box as a
// posted WM_COMMAND with the id as wParam.
void PopUpEditBoxMenu(rg_Ombrine_MFCJieMian_base::rg_CaiChanLei& menu, CQzuWinControl& box);

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
