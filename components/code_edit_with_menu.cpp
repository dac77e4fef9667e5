#include "components/code_edit_with_menu.h"

#include "common/dpi.h"
#include "framework/win_defs.h"
#include "platform/hooks.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_TavelkinHuoHuaBianJiKuang1, rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinHuoHuaBianJiKuang1")

namespace {

enum : unsigned {
  kSciSelectAll = 2013,
  kSciStartStyling = 2032,
  kSciStyleSetFore = 2051,
  kSciStyleSetBack = 2052,
  kSciStyleSetSize = 2055,
  kSciGetReadOnly = 2140,
  kSciGetLineCount = 2154,
  kSciUndo = 2176,
  kSciCut = 2177,
  kSciCopy = 2178,
  kSciPaste = 2179,
  kSciClear = 2180,
  kSciSetMarginTypeN = 2240,
  kSciSetMarginWidthN = 2242,
  kSciSetMarginMaskN = 2244,
  kSciSetMarginBackN = 2250,
  kSciSetScrollWidthTracking = 2516,
  kSciGetSelectionEmpty = 2650,
};
constexpr int kLineNumberMargin = 1;
constexpr int kMarginTypeNumber = 1;
constexpr int kStyleDefault = 32;
constexpr int kStyleLineNumber = 33;

using Box = rg_TavelkinHuoHuaBianJiKuang1;

intptr_t RightDownThunk(CQzuObject* r, CQzuObject*, intptr_t, int, int, int) {
  return static_cast<Box*>(r)->ShowCodeEditMenu();
}
intptr_t MessageThunk(CQzuObject* r, CQzuObject*, intptr_t, int message, intptr_t wParam, intptr_t) {
  return static_cast<Box*>(r)->RunCodeEditMenuCommand(message, wParam);
}
intptr_t UpdateUiThunk(CQzuObject* r, CQzuObject*, intptr_t, int) { return static_cast<Box*>(r)->FitLineNumberMargin(); }
intptr_t CreatedThunk(CQzuObject* r, CQzuObject*, intptr_t) { return static_cast<Box*>(r)->SetupCodeEditStyle(); }

int DecimalDigits(intptr_t n) {
  int digits = 1;
  for (intptr_t v = n < 0 ? -n : n; v >= 10; v /= 10) ++digits;
  return digits + (n < 0 ? 1 : 0);
}

}  // namespace

rg_TavelkinHuoHuaBianJiKuang1::rg_TavelkinHuoHuaBianJiKuang1() { AttachCodeEditMenu(); }

rg_TavelkinHuoHuaBianJiKuang1::~rg_TavelkinHuoHuaBianJiKuang1() {
  // Handlers running now finish; none starts after this.
  m_receiver->Detach();
}

void rg_TavelkinHuoHuaBianJiKuang1::AttachCodeEditMenu() {
  m_receiver = CQzuReceiverRef::Make(this);
  OnRightDown.Connect(&RightDownThunk, m_receiver);
  OnMessage.Connect(&MessageThunk, m_receiver);
  OnUpdateUI.Connect(&UpdateUiThunk, m_receiver);
  OnCreated.Connect(&CreatedThunk, m_receiver);
  SetOwnContextMenu(true);
  AttachListener();
}

bool rg_TavelkinHuoHuaBianJiKuang1::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinHuoHuaBianJiKuang1::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinHuoHuaBianJiKuang1, source)
  CopyWinControl(src);
  m_menu.CopyFrom(src.m_menu);
  return 1;
}

void rg_TavelkinHuoHuaBianJiKuang1::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  m_menu.SaveToStream(s);
}

void rg_TavelkinHuoHuaBianJiKuang1::LoadFromStream(CQzuStream& s) {
  CWString text;
  if (!s.ReadText(text)) return;
  m_text = text;
  m_menu.LoadFromStream(s);
}

void rg_TavelkinHuoHuaBianJiKuang1::UpdateCodeEditMenuItems() {
  const int first = kCodeEditMenuFirstId;
  const bool selectionEmpty = Send(kSciGetSelectionEmpty) != 0;
  const bool readOnly = Send(kSciGetReadOnly) != 0;
  m_menu.EnableCommand(first + kEditMenuUndo, true);
  m_menu.EnableCommand(first + kEditMenuCut, !selectionEmpty && !readOnly);
  m_menu.EnableCommand(first + kEditMenuCopy, !selectionEmpty);
  m_menu.EnableCommand(first + kEditMenuPaste, !GetClipboardText().IsEmpty());
  m_menu.EnableCommand(first + kEditMenuDelete, !selectionEmpty && !readOnly);
  m_menu.EnableCommand(first + kEditMenuSelectAll, true);
}

intptr_t rg_TavelkinHuoHuaBianJiKuang1::ShowCodeEditMenu() {
  UpdateCodeEditMenuItems();
  PopUpEditBoxMenu(m_menu, *this);
  return 1;
}

intptr_t rg_TavelkinHuoHuaBianJiKuang1::RunCodeEditMenuCommand(int message, intptr_t wParam) {
  if (message != qzu_win::kWmCommand) return 0;
  static constexpr unsigned kCommands[] = {kSciUndo, kSciCut, kSciCopy, kSciPaste, kSciClear, kSciSelectAll};
  const intptr_t offset = wParam - kCodeEditMenuFirstId;
  if (offset >= kEditMenuUndo && offset <= kEditMenuSelectAll) Send(kCommands[offset - kEditMenuUndo], 0, 0);
  return 0;
}

intptr_t rg_TavelkinHuoHuaBianJiKuang1::SetupCodeEditStyle() {
  Send(kSciSetMarginTypeN, kLineNumberMargin, kMarginTypeNumber);
  Send(kSciSetMarginBackN, kLineNumberMargin, 0x808080);
  Send(kSciSetMarginMaskN, kLineNumberMargin, 1);
  Send(kSciStartStyling, 0, 0);
  Send(kSciStyleSetBack, kStyleLineNumber, 0x808080);
  Send(kSciStyleSetFore, kStyleLineNumber, 0x00FFFF);
  SetCodeEditFont(kStyleLineNumber, u"微软雅黑");
  Send(kSciStyleSetSize, kStyleLineNumber, 11);
  SetCodeEditFont(kStyleDefault, u"微软雅黑");
  Send(kSciStyleSetSize, kStyleDefault, 11);
  Send(kSciSetScrollWidthTracking, 1);
  return 0;
}

intptr_t rg_TavelkinHuoHuaBianJiKuang1::FitLineNumberMargin() {
  const intptr_t lines = Send(kSciGetLineCount);
  const int width = DecimalDigits(lines) * ScaleForDpi(9) + ScaleForDpi(5);
  Send(kSciSetMarginWidthN, kLineNumberMargin, width);
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
