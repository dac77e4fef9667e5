#include "framework/edit_box.h"

#include <QLineEdit>
#include <QStyle>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "framework/document_text.h"
#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_edit_box, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_edit_box")

rg_edit_box::rg_edit_box() { m_style = qzu_win::kWsTabStop | qzu_win::kWsBorder; }

bool rg_edit_box::IsEqual(const CQzuObject& other) const {
  if (!CQzuWinControl::IsEqual(other)) return false;
  const auto& o = static_cast<const rg_edit_box&>(other);
  return m_cueBanner == o.m_cueBanner && m_leftMargin == o.m_leftMargin && m_rightMargin == o.m_rightMargin &&
         m_wordWrap == o.m_wordWrap;
}

int rg_edit_box::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_edit_box, source)
  CopyWinControl(src);
  m_cueBanner = src.m_cueBanner;
  m_leftMargin = src.m_leftMargin;
  m_rightMargin = src.m_rightMargin;
  m_wordWrap = src.m_wordWrap;
  m_selStart = src.m_selStart;
  m_selEnd = src.m_selEnd;
  return 1;
}

void rg_edit_box::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  if (!s.Ok()) return;
  s.WriteText(m_cueBanner);
  s.WriteInt32(m_leftMargin);
  s.WriteInt32(m_rightMargin);
  s.WriteInt32(m_wordWrap);
}

void rg_edit_box::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  CWString cue;
  int32_t left, right, wrap;
  if (!s.ReadText(cue) || !s.ReadInt32(left) || !s.ReadInt32(right) || !s.ReadInt32(wrap)) return;
  m_cueBanner = cue;
  m_leftMargin = left;
  m_rightMargin = right;
  m_wordWrap = wrap;
  ApplyEditState();
}

QWidget* rg_edit_box::CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) {
  if (params.style & qzu_win::kEsMultiline) {
    auto* edit = new QPlainTextEdit(parent);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit] {
      if (GetWidget() == edit) Raise(OnTextChanged);
    });
    return edit;
  }
  auto* edit = new QLineEdit(parent);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit] {
    if (GetWidget() == edit) Raise(OnTextChanged);
  });
  return edit;
}

int rg_edit_box::WidthForText(const CWString& text) const {
  const auto* line = qobject_cast<const QLineEdit*>(GetWidget());
  if (!line) return 0;
  // QLineEdit lays the text out inside its frame, its contents and text
  // margins, and a fixed margin of 2 pixels on each side; the caret takes a
  // pixel or two after the last character.
  constexpr int kLineEditSideMargin = 2;
  constexpr int kCaretRoom = 2;
  const int frame = line->hasFrame() ? line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, line) : 0;
  const QMargins contents = line->contentsMargins();
  const QMargins margins = line->textMargins();
  return line->fontMetrics().horizontalAdvance(ToQString(text)) + 2 * frame + contents.left() + contents.right() +
         margins.left() + margins.right() + 2 * kLineEditSideMargin + kCaretRoom;
}

std::vector<QObject*> rg_edit_box::WatchedParts(QWidget* widget) {
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) return {plain->viewport()};
  return {};
}

void rg_edit_box::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  ApplyEditState();
}

void rg_edit_box::ApplyEditState() {
  QWidget* w = GetWidget();
  const bool readOnly = IsReadOnly();
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setReadOnly(readOnly);
    line->setPlaceholderText(ToQString(m_cueBanner));
    line->setTextMargins(m_leftMargin, 0, m_rightMargin, 0);
    line->setEchoMode((m_style & qzu_win::kEsPassword) ? QLineEdit::Password : QLineEdit::Normal);
    if (m_style & qzu_win::kEsCenter) line->setAlignment(Qt::AlignCenter);
    else if (m_style & qzu_win::kEsRight) line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (!(m_style & qzu_win::kWsBorder)) line->setFrame(false);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    plain->setReadOnly(readOnly);
    plain->setPlaceholderText(ToQString(m_cueBanner));
    plain->setLineWrapMode(m_wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    plain->setVerticalScrollBarPolicy((m_style & qzu_win::kWsVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    plain->setHorizontalScrollBarPolicy((m_style & qzu_win::kWsHScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    plain->document()->setDocumentMargin(m_leftMargin > m_rightMargin ? m_leftMargin : m_rightMargin > 0 ? m_rightMargin : 4);
    if (!(m_style & qzu_win::kWsBorder)) plain->setFrameShape(QFrame::NoFrame);
  }
}

void rg_edit_box::ApplyCaption(const CWString& caption) {
  QWidget* w = GetWidget();
  if (auto* line = qobject_cast<QLineEdit*>(w)) line->setText(ToQString(caption));
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) plain->setPlainText(ToQString(caption));
}

CWString rg_edit_box::ReadCaption() const {
  QWidget* w = GetWidget();
  if (auto* line = qobject_cast<QLineEdit*>(w)) return FromQString(line->text());
  if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) return DocumentText(*plain->document());
  return m_caption;
}

intptr_t rg_edit_box::HandleMessage(int message, intptr_t wParam, intptr_t lParam) {
  const intptr_t r = CQzuWinControl::HandleMessage(message, wParam, lParam);
  switch (message) {
    case 0xB1:
      SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case 0xB7:
      ScrollCaret();
      return 1;
    case 0xCF:
      SetReadOnly(wParam != 0);
      return 1;
    case 0xD3: {
      const int left = static_cast<int>(lParam & 0xFFFF), right = static_cast<int>((lParam >> 16) & 0xFFFF);
      SetMargins((wParam & 1) ? left : -1, (wParam & 2) ? right : -1);
      return 0;
    }
    case 0x1501:
      SetCueBanner(lParam ? CWString(reinterpret_cast<const char16_t*>(lParam)) : CWString());
      return 1;
    default:
      return r;
  }
}

void rg_edit_box::SetReadOnly(bool readOnly) {
  if (readOnly) m_style |= qzu_win::kEsReadOnly;
  else m_style &= ~qzu_win::kEsReadOnly;
  ApplyEditState();
}

void rg_edit_box::SetCueBanner(const CWString& cue) {
  m_cueBanner = cue;
  ApplyEditState();
}

void rg_edit_box::SetMargins(int left, int right) {
  if (left >= 0) m_leftMargin = left;
  if (right >= 0) m_rightMargin = right;
  ApplyEditState();
}

void rg_edit_box::SetWordWrap(bool wrap) {
  m_wordWrap = wrap ? 1 : 0;
  ApplyEditState();
}

void rg_edit_box::SetSel(int start, int end) {
  QWidget* w = GetWidget();
  const int length = GetText().Length();
  if (start < 0) start = 0;
  if (end < 0 || end > length) end = length;
  if (start > length) start = length;
  m_selStart = start;
  m_selEnd = end;
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    line->setSelection(start, end - start);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    QTextCursor c = plain->textCursor();
    c.setPosition(CursorPositionOf(*plain->document(), start));
    c.setPosition(CursorPositionOf(*plain->document(), end), QTextCursor::KeepAnchor);
    plain->setTextCursor(c);
  }
}

void rg_edit_box::KeepWindowValues() {
  if (!HasWindow()) return;
  GetSel(m_selStart, m_selEnd);
  CQzuWinControl::KeepWindowValues();
}

void rg_edit_box::ScrollCaret() {
  QWidget* w = GetWidget();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    plain->ensureCursorVisible();
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    // A line edit settles its horizontal scroll on the caret when it paints;
    // painting now makes the scroll (and cursorRect) follow at once.
    if (line->isVisible()) line->repaint();
  }
}

void rg_edit_box::GetSel(int& start, int& end) const {
  QWidget* w = GetWidget();
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    if (line->hasSelectedText()) {
      start = line->selectionStart();
      end = line->selectionEnd();
    } else {
      start = end = line->cursorPosition();
    }
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    const QTextCursor c = plain->textCursor();
    start = TextIndexOf(*plain->document(), c.selectionStart());
    end = TextIndexOf(*plain->document(), c.selectionEnd());
  } else {
    start = m_selStart;
    end = m_selEnd;
  }
}

void rg_edit_box::ReplaceSel(const CWString& text) {
  QWidget* w = GetWidget();
  if (auto* line = qobject_cast<QLineEdit*>(w)) line->insert(ToQString(text));
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) plain->insertPlainText(ToQString(text));
  else m_caption = m_caption.Left(m_selStart) + text + m_caption.Mid(m_selEnd);
}

}  // namespace rg_Ombrine_MFCJieMian_base
