#include "components/control_state_binds.h"

#include <cstdint>

namespace rg_Tavelkin_MingLingJi {

namespace {

using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;

// Button messages the framework's check and radio boxes answer.
constexpr int kBmGetCheck = 0x00F0;
constexpr int kBmSetCheck = 0x00F1;
constexpr intptr_t kBstChecked = 1;

const char16_t kCheckedSuffix[] = u".选中";
const char16_t kColourSuffix[] = u".颜色";
const char16_t kValueSuffix[] = u".内容";

// The key of a bind: type word + name, else the key remembered for the
// control, else type word + key source, remembered from now on.
CWString ControlKey(rg_TavelkinMFCZuJianPeiZhiLei& saver, const void* control, const char16_t* typeWord,
                    const CWString& name, const CWString& keySource) {
  if (!name.IsEmpty()) return CWString(typeWord) + name;
  CWString& remembered = saver.ControlKeys.entries[reinterpret_cast<intptr_t>(control)];
  if (remembered.IsEmpty()) remembered = CWString(typeWord) + keySource;
  return remembered;
}

// Ticked only when the window says BST_CHECKED: an indeterminate box and a
// box without a window count as unticked.
bool Ticked(rg_Ombrine_MFCJieMian_base::CQzuCheckableControl& box) {
  return box.SendMessage(kBmGetCheck) == kBstChecked;
}

void BindTicked(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::CQzuCheckableControl& box,
                const CWString& key) {
  const bool ticked = Ticked(box);
  if (saver.SaveMode) {
    saver.WriteBoolValue(key, ticked);
    return;
  }
  const bool stored = saver.ReadBoolValue(key, ticked);
  box.SendMessage(kBmSetCheck, stored ? 1 : 0);
}

// The owner-drawn check flag: repainted only when the stored value differs.
void BindCheckFlag(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_TavelkinAnNiu1& button, const CWString& key) {
  const bool current = button.checked != 0;
  if (saver.SaveMode) {
    saver.WriteBoolValue(key, current);
    return;
  }
  const bool stored = saver.ReadBoolValue(key, current);
  if (stored == current) return;
  button.checked = stored ? 1 : 0;
  button.RedrawButton();
}

}  // namespace

void BindEditBoxText(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_edit_box& box,
                     const CWString& name) {
  const CWString key = ControlKey(saver, &box, u"编辑框", name, box.GetTextMember());
  if (saver.SaveMode) saver.WriteMultilineValue(key, box.GetCaption());
  else box.SetCaption(saver.ReadMultilineValue(key, box.GetCaption()));
}

void BindCodeEditText(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang& box,
                      const CWString& name) {
  const CWString key = ControlKey(saver, &box, u"Tavelkin火花编辑框", name, box.GetTextMember());
  const CWString slot = saver.CurrentSection + u"]" + key;
  if (!saver.SaveMode) {
    const CWString whole = saver.LoadLongValue(key, box.GetCodeEditText());
    box.SetCodeEditText(whole);
    saver.ShownLongValues[slot] = {whole, box.GetCodeEditText()};
    return;
  }
  // The editor cuts a stored text at its first NUL: a box the user left as
  // it was restored saves the whole stored text (unchanged: nothing written),
  // never the cut one.
  CWString text = box.GetCodeEditText();
  const auto shown = saver.ShownLongValues.find(slot);
  if (shown != saver.ShownLongValues.end()) {
    if (text == shown->second.shown) text = shown->second.whole;
    else saver.ShownLongValues.erase(shown);
  }
  saver.SaveLongValue(key, text);
}

void BindDropDownState(rg_TavelkinMFCZuJianPeiZhiLei& saver,
                       rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1& list, const CWString& name,
                       int mode) {
  const CWString key = ControlKey(saver, &list, u"组合框", name, list.GetTextMember());
  if (mode == kBindDropDownValue) {
    if (saver.SaveMode) saver.WriteMultilineValue(key + kValueSuffix, list.GetDropDownValue());
    else list.SetDropDownValue(saver.ReadMultilineValue(key + kValueSuffix, list.GetDropDownValue()));
  } else if (mode == kBindDropDownIndex && list.colourMode > 0) {
    // COLORREF values are stored as signed decimal numbers.
    const int32_t colour = static_cast<int32_t>(list.GetDropDownColour());
    if (saver.SaveMode) saver.WriteIntValue(key + kColourSuffix, colour);
    else list.SetDropDownColour(static_cast<COLORREF>(saver.ReadIntValue(key + kColourSuffix, colour)));
  } else if (mode == kBindDropDownIndex) {
    // An index outside the items is saved as -1, and restoring one selects nothing.
    const int32_t index = list.GetDropDownIndex();
    if (saver.SaveMode) saver.WriteIntValue(key, index);
    else list.SelectDropDownItem(saver.ReadIntValue(key, index));
  }
}

void BindCheckBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_check_box& box,
                       const CWString& name) {
  BindTicked(saver, box, ControlKey(saver, &box, u"选择框", name, box.GetCaption()));
}

void BindRadioBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_Ombrine_MFCJieMian_base::rg_radio_box& box,
                       const CWString& name) {
  BindTicked(saver, box, ControlKey(saver, &box, u"单选框", name, box.GetCaption()));
}

void BindCheckedBoxState(rg_TavelkinMFCZuJianPeiZhiLei& saver,
                         rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1& box, const CWString& name) {
  BindCheckFlag(saver, box, ControlKey(saver, &box, u"Tavelkin选中框", name, box.GetButtonText()));
}

void BindButtonState(rg_TavelkinMFCZuJianPeiZhiLei& saver, rg_TavelkinAnNiu1& button, const CWString& name, int mode) {
  const CWString key = ControlKey(saver, &button, u"Tavelkin按钮", name, button.GetButtonText());
  if (mode == kBindButtonChecked) {
    BindCheckFlag(saver, button, key + kCheckedSuffix);
  } else if (mode == kBindButtonText) {
    // The text member is not painted: no repaint.
    if (saver.SaveMode) saver.WriteMultilineValue(key, button.GetTextMember());
    else button.SetTextMember(saver.ReadMultilineValue(key, button.GetTextMember()));
  }
}

}  // namespace rg_Tavelkin_MingLingJi
