#include "components/rich_edit_with_menu.h"

#include "framework/win_defs.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_TavelkinChaoJiBianJiKuang1, rg_Ombrine_MFCJieMian_base::rg_rich_edit,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinChaoJiBianJiKuang1")

namespace {

enum : int {
  kEmCanUndo = 0xC6,
  kEmUndo = 0xC7,
  kEmCanPaste = 0x432,
  kWmCut = 0x300,
  kWmCopy = 0x301,
  kWmPaste = 0x302,
  kWmClear = 0x303,
};

using Box = rg_TavelkinChaoJiBianJiKuang1;

intptr_t RightDownThunk(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
  return static_cast<Box*>(r)->ShowRichEditMenu();
}
intptr_t MessageThunk(CQzuObject* r, CQzuObject*, intptr_t, int message, intptr_t wParam, intptr_t) {
  return static_cast<Box*>(r)->RunRichEditMenuCommand(message, wParam);
}

}  // namespace

rg_TavelkinChaoJiBianJiKuang1::rg_TavelkinChaoJiBianJiKuang1() { AttachRichEditMenu(); }

rg_TavelkinChaoJiBianJiKuang1::~rg_TavelkinChaoJiBianJiKuang1() { m_receiver->Detach(); }

void rg_TavelkinChaoJiBianJiKuang1::AttachRichEditMenu() {
  m_receiver = CQzuReceiverRef::Make(this);
  SetFontText(u"微软雅黑, 11, 0, 0, 0, 0, 0");
  OnRightDown.Connect(&RightDownThunk, m_receiver);
  OnMessage.Connect(&MessageThunk, m_receiver);
  SetOwnContextMenu(true);
  AttachListener();
}

bool rg_TavelkinChaoJiBianJiKuang1::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinChaoJiBianJiKuang1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinChaoJiBianJiKuang1, source)
  rg_rich_edit::CopyFrom(src);
  m_menu.CopyFrom(src.m_menu);
  return 1;
}

void rg_TavelkinChaoJiBianJiKuang1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  m_menu.SaveToStream(s);
}

void rg_TavelkinChaoJiBianJiKuang1::LoadFromStream(CQzuStream& s) {
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  m_menu.LoadFromStream(s);
}

void rg_TavelkinChaoJiBianJiKuang1::UpdateRichEditMenuItems() {
  const int first = kRichEditMenuFirstId;
  int start = 0, end = 0;
  GetSel(start, end);
  const bool nothingSelected = end - start <= 0;
  const bool readOnly = IsReadOnly();
  m_menu.EnableCommand(first + kEditMenuUndo, SendMessage(kEmCanUndo) != 0);
  m_menu.EnableCommand(first + kEditMenuCut, !nothingSelected && !readOnly);
  m_menu.EnableCommand(first + kEditMenuCopy, !nothingSelected);
  m_menu.EnableCommand(first + kEditMenuPaste, SendMessage(kEmCanPaste, 0) != 0);
  m_menu.EnableCommand(first + kEditMenuDelete, !nothingSelected && !readOnly);
  m_menu.EnableCommand(first + kEditMenuSelectAll, true);
}

intptr_t rg_TavelkinChaoJiBianJiKuang1::ShowRichEditMenu() {
  UpdateRichEditMenuItems();
  PopUpEditBoxMenu(m_menu, *this);
  return 0;
}

intptr_t rg_TavelkinChaoJiBianJiKuang1::RunRichEditMenuCommand(int message, intptr_t wParam) {
  if (message != qzu_win::kWmCommand) return 0;
  static constexpr int kMessages[] = {kEmUndo, kWmCut, kWmCopy, kWmPaste, kWmClear};
  const intptr_t offset = wParam - kRichEditMenuFirstId;
  if (offset >= kEditMenuUndo && offset <= kEditMenuDelete) SendMessage(kMessages[offset - kEditMenuUndo], 0, 0);
  else if (offset == kEditMenuSelectAll) SelectAll();
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
