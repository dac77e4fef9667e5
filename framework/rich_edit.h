#pragma once
// The framework's rich edit box (QTextEdit), used here for plain text: a
// multi-line editor with word wrap, a read-only state, a background colour
// set before creation, selection and dropped files (AcceptFiles).
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_rich_edit : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_rich_edit)

 public:
  rg_rich_edit();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetText(const CWString& text) { SetCaption(text); }
  CWString GetText() const { return GetCaption(); }
  void SetReadOnly(bool readOnly);
  // The text and the selection.
  void KeepWindowValues() override;
  bool IsReadOnly() const { return m_readOnly != 0; }
  void SetWordWrap(bool wrap);
  // The selection stays visible without the focus unless hidden (EM_HIDESELECTION).
  void SetSel(int start, int end);
  void GetSel(int& start, int& end) const;
  void ReplaceSel(const CWString& text);
  void SelectAll() { SetSel(0, -1); }
  void Copy();
  void Cut();
  void Paste();
  void Undo();

  CQzuEventSlot<> OnTextChanged;

  // By number: EM_CANUNDO (0xC6), EM_UNDO (0xC7), EM_SETSEL (0xB1),
  // EM_SETREADONLY (0xCF), EM_CANPASTE (0x432), WM_CUT, WM_COPY, WM_PASTE
  // and WM_CLEAR (0x300 to 0x303).
  intptr_t HandleMessage(int message, intptr_t wParam, intptr_t lParam) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  std::vector<QObject*> WatchedParts(QWidget* widget) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void ApplyState();

  int32_t m_readOnly = 0;
  int32_t m_wordWrap = 1;
  int32_t m_selStart = 0;
  int32_t m_selEnd = 0;
};

}  // namespace rg_Ombrine_MFCJieMian_base
