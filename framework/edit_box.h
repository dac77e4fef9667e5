#pragma once
// The framework's plain edit box: one line (QLineEdit) or, with the style
// ES_MULTILINE, several (QPlainTextEdit). Its window text is the edited text.
// It can be constructed, copied and streamed without a window.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_edit_box : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_edit_box)

 public:
  rg_edit_box();

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetText(const CWString& text) { SetCaption(text); }
  CWString GetText() const { return GetCaption(); }
  bool IsMultiLine() const { return (m_style & qzu_win::kEsMultiline) != 0; }
  void SetReadOnly(bool readOnly);
  // The text and the selection.
  void KeepWindowValues() override;
  bool IsReadOnly() const { return (m_style & qzu_win::kEsReadOnly) != 0; }
  // Grey hint shown while the box is empty (EM_SETCUEBANNER).
  void SetCueBanner(const CWString& cue);
  const CWString& GetCueBanner() const { return m_cueBanner; }
  // Inner margins in pixels (EM_SETMARGINS); -1 keeps a side.
  void SetMargins(int left, int right);
  // The width a one-line box needs to show `text` whole in its font, with
  // its frame, margins and caret; 0 without a window or for a multi-line box.
  int WidthForText(const CWString& text) const;
  // Selection in UTF-16 units; end -1 means the end of the text.
  void SetSel(int start, int end);
  void GetSel(int& start, int& end) const;
  void ReplaceSel(const CWString& text);
  // Scrolls the text so that the caret (the end of the selection) is in
  // view (EM_SCROLLCARET). Nothing without a window.
  void ScrollCaret();
  void SetWordWrap(bool wrap);

  CQzuEventSlot<> OnTextChanged;

  // By number: EM_SETSEL (0xB1), EM_SCROLLCARET (0xB7), EM_SETREADONLY (0xCF), EM_SETMARGINS (0xD3,
  // wParam 1 left / 2 right, margins in the low and high word of lParam),
  // EM_SETCUEBANNER (0x1501, lParam a zero-terminated UTF-16 text).
  intptr_t HandleMessage(int message, intptr_t wParam, intptr_t lParam) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  std::vector<QObject*> WatchedParts(QWidget* widget) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void ApplyEditState();

  CWString m_cueBanner;
  int32_t m_leftMargin = 0;
  int32_t m_rightMargin = 0;
  int32_t m_wordWrap = 1;
  int32_t m_selStart = 0;
  int32_t m_selEnd = 0;
};

}  // namespace rg_Ombrine_MFCJieMian_base
