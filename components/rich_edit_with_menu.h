#pragma once
// rg_TavelkinChaoJiBianJiKuang1: the framework's rich edit box with a Chinese
// right-click menu (ids 9000 to 9006) and the font "微软雅黑, 11". A right
// press greys the items from the box's state and shows the menu at the
// pointer; the press then reaches the box as well. The chosen command comes
// back as WM_COMMAND through the any-message event and is sent to the box as
// EM_UNDO, WM_CUT, WM_COPY, WM_PASTE or WM_CLEAR, or selects the whole text.
// Copies share the native window and the built menu; a box equals only
// itself. UI thread only.
#include "common/event.h"
#include "components/edit_box_menus.h"
#include "framework/rich_edit.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

class rg_TavelkinChaoJiBianJiKuang1 : public rg_Ombrine_MFCJieMian_base::rg_rich_edit {
  QZU_DECLARE_CLASS(rg_TavelkinChaoJiBianJiKuang1)

 public:
  rg_TavelkinChaoJiBianJiKuang1();
  ~rg_TavelkinChaoJiBianJiKuang1() override;

  bool IsEqual(const CQzuObject& other) const override;
  // The base control's values (sharing its window) and the menu.
  int CopyFrom(const CQzuObject& source) override;
  // The base control's text member, then the menu.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  rg_ChaoJiBianJiKuangYouJianCaiChanLei& GetMenu() { return m_menu; }

  // Undo enabled only when the box can undo; cut and delete greyed while
  // nothing is selected or the box is read-only, copy while nothing is
  // selected; paste only when the box can paste; select all always. Without
  // a window undo and paste are greyed and the stored selection counts.
  void UpdateRichEditMenuItems();
  intptr_t ShowRichEditMenu();                                    // 0: the box sees the press too
  intptr_t RunRichEditMenuCommand(int message, intptr_t wParam);  // 0

 private:
  void AttachRichEditMenu();

  rg_ChaoJiBianJiKuangYouJianCaiChanLei m_menu;
  CQzuReceiverRef m_receiver;
};

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
