#pragma once
// The bind operations of the control-state saver: one call per control either
// writes the control's state into the saver's current section (SaveMode
// non-zero) or puts the stored state back into the control (SaveMode 0).
//
// Keys. A non-empty name gives the key type word + name, not remembered. An
// empty name takes the key remembered for the control object in ControlKeys;
// a control bound unnamed for the first time gets type word + its key source
// (its text member for edit boxes and code edit boxes, its caption for check
// boxes, radio boxes and owner-drawn buttons and check boxes), which is then
// kept for the rest of the run even when the caption changes. The type words
// and suffixes are part of the settings file's format:
//   BindEditBoxText      "编辑框"             window text, multi-line value
//   BindCodeEditText     "Tavelkin火花编辑框"  whole text, long value (side file)
//   BindDropDownState    "组合框"             mode 0: colour mode: colour under key + ".颜色";
//                                            otherwise the item index (-1 outside the items);
//                                            mode 1: value, multi-line under key + ".内容"
//   BindCheckBoxState    "选择框"             ticked, boolean
//   BindRadioBoxState    "单选框"             ticked, boolean
//   BindCheckedBoxState  "Tavelkin选中框"      check flag, boolean
//   BindButtonState      "Tavelkin按钮"       mode 0: text member, multi-line value;
//                                            mode 1: check flag, boolean under key + ".选中"
//
// A code edit box shows a restored text up to its first NUL; while its text
// is still what it showed, a save keeps the whole stored text (so a damaged
// side file is not cut by a close without an edit).
//
// On restore the control's current state is the default of the read, so a
// missing key leaves it as it is. Framework check and radio boxes without a
// window read as unticked and are not restored. An owner-drawn flag that
// already has the stored value is not repainted; no bind raises an event.
// Write failures are not reported. UI thread only; the controls must live as
// long as the saver, which remembers them by address.
#include "common/wstring.h"
#include "components/code_edit_box.h"
#include "components/drop_down_list.h"
#include "components/owner_drawn_button.h"
#include "framework/check_box.h"
#include "framework/edit_box.h"
#include "services/global_settings.h"

namespace rg_Tavelkin_MingLingJi {

// The modes of BindDropDownState. Other modes only make and remember the key.
inline constexpr int kBindDropDownIndex = 0;  // the colour instead in colour mode
inline constexpr int kBindDropDownValue = 1;

// The modes of BindButtonState. Other modes only make and remember the key.
inline constexpr int kBindButtonText = 0;
inline constexpr int kBindButtonChecked = 1;

void BindEditBoxText(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_edit_box& box,
                     const CWString& name);
void BindCodeEditText(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang& box,
                      const CWString& name);
void BindDropDownState(rg_TavelkinMFCZuJianPeiZhiLei& saver,
                       rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1& list, const CWString& name,
                       int mode);
void BindCheckBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_check_box& box,
                       const CWString& name);
void BindRadioBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_radio_box& box,
                       const CWString& name);
void BindCheckedBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver,
                         rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1& box, const CWString& name);
void BindButtonState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1& button,
                     const CWString& name, int mode);

}  // namespace rg_Tavelkin_MingLingJi
