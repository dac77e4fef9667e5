#pragma once
// rg_TavelkinHuoHuaBianJiKuang1: the code edit box with a Chinese right-click
// menu (ids 8000 to 8006), line numbers in margin 1 and the editor styled
// when its window is made. The main window's input and result editors are
// such boxes. A right press greys the items from the editor's state, shows
// the menu at the pointer and never reaches the editor; the chosen command
// comes back as WM_COMMAND through the any-message event. The line-number
// margin is refitted on every SCN_UPDATEUI to the digits of the line count
// times the DPI-scaled digit width. Copies share the native window and the
// built menu; a box equals only itself. UI thread only.
#include "common/event.h"
#include "components/code_edit_box.h"
#include "components/edit_box_menus.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

class rg_TavelkinHuoHuaBianJiKuang1 : public rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang {
  QZU_DECLARE_CLASS(rg_TavelkinHuoHuaBianJiKuang1)

 public:
  rg_TavelkinHuoHuaBianJiKuang1();
  ~rg_TavelkinHuoHuaBianJiKuang1() override;

  bool IsEqual(const CQzuObject& other) const override;
  // The base control's values (sharing its window) and the menu.
  int CopyFrom(const CQzuObject& source) override;
  // The base control's text member, then the menu.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  rg_HuoHuaBianJiKuangYouJianCaiChanLei& GetMenu() { return m_menu; }

  // Greys cut and delete while the selection is empty or the editor is
  // read-only, copy while the selection is empty, paste while the clipboard
  // holds no text; undo and select all stay enabled.
  void UpdateCodeEditMenuItems();
  // The handlers, with the results the events read.
  intptr_t ShowCodeEditMenu();                                  // 1: the editor never sees the press
  intptr_t RunCodeEditMenuCommand(int message, intptr_t wParam);  // 0
  intptr_t SetupCodeEditStyle();                                // 0
  intptr_t FitLineNumberMargin();                               // 0

 private:
  void AttachCodeEditMenu();

  rg_HuoHuaBianJiKuangYouJianCaiChanLei m_menu;
  CQzuReceiverRef m_receiver;
};

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
