#include "framework/rich_edit.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "framework/document_text.h"
#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_rich_edit, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_rich_edit")

namespace {

// Dropped files belong to the control's files-dropped event, not to the
// editor's own text drop.
class PlainTextEdit : public QTextEdit {
 public:
  using QTextEdit::QTextEdit;

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override {
    return !source->hasUrls() && QTextEdit::canInsertFromMimeData(source);
  }
  void insertFromMimeData(const QMimeData* source) override { insertPlainText(source->text()); }
};

}  // namespace

rg_rich_edit::rg_rich_edit() { m_style = qzu_win::kWsTabStop | qzu_win::kWsVScroll | qzu_win::kWsBorder; }

int rg_rich_edit::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_rich_edit, source)
  CopyWinControl(src);
  m_readOnly = src.m_readOnly;
  m_wordWrap = src.m_wordWrap;
  m_selStart = src.m_selStart;
  m_selEnd = src.m_selEnd;
  return 1;
}

void rg_rich_edit::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteInt32(m_readOnly);
  s.WriteInt32(m_wordWrap);
}

void rg_rich_edit::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t readOnly, wrap;
  if (!s.ReadInt32(readOnly) || !s.ReadInt32(wrap)) return;
  m_readOnly = readOnly;
  m_wordWrap = wrap;
  ApplyState();
}

QWidget* rg_rich_edit::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* edit = new PlainTextEdit(parent);
  edit->setAcceptRichText(false);
  QObject::connect(edit, &QTextEdit::textChanged, edit, [this, edit] {
    if (GetWidget() == edit && m_window->Owner() == this) Raise(OnTextChanged);
  });
  return edit;
}

std::vector<QObject*> rg_rich_edit::WatchedParts(QWidget* widget) {
  return {static_cast<QTextEdit*>(widget)->viewport()};
}

void rg_rich_edit::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  ApplyState();
  SetSel(m_selStart, m_selEnd);
}

void rg_rich_edit::ApplyState() {
  auto* edit = qobject_cast<QTextEdit*>(GetWidget());
  if (!edit) return;
  edit->setReadOnly(m_readOnly != 0);
  edit->setLineWrapMode(m_wordWrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  edit->setVerticalScrollBarPolicy((m_style & qzu_win::kWsVScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy((m_style & qzu_win::kWsHScroll) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  if (m_acceptFiles) {
    edit->setAcceptDrops(true);
    edit->viewport()->setAcceptDrops(true);
  }
  if (!(m_style & qzu_win::kWsBorder) && !(m_exStyle & (qzu_win::kWsExClientEdge | qzu_win::kWsExStaticEdge)))
    edit->setFrameShape(QFrame::NoFrame);
}

void rg_rich_edit::SetReadOnly(bool readOnly) {
  m_readOnly = readOnly ? 1 : 0;
  ApplyState();
}

void rg_rich_edit::SetWordWrap(bool wrap) {
  m_wordWrap = wrap ? 1 : 0;
  ApplyState();
}

void rg_rich_edit::ApplyCaption(const CWString& caption) {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->setPlainText(ToQString(caption));
}

CWString rg_rich_edit::ReadCaption() const {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) return DocumentText(*edit->document());
  return m_caption;
}

void rg_rich_edit::SetSel(int start, int end) {
  m_selStart = start < 0 ? 0 : start;
  m_selEnd = end;
  auto* edit = qobject_cast<QTextEdit*>(GetWidget());
  if (!edit) return;
  const QTextDocument& document = *edit->document();
  const int length = GetText().Length();
  const int s = m_selStart > length ? length : m_selStart;
  const int e = (end < 0 || end > length) ? length : end;
  QTextCursor c = edit->textCursor();
  c.setPosition(CursorPositionOf(document, s));
  c.setPosition(CursorPositionOf(document, e), QTextCursor::KeepAnchor);
  edit->setTextCursor(c);
}

void rg_rich_edit::KeepWindowValues() {
  if (!HasWindow()) return;
  GetSel(m_selStart, m_selEnd);
  CQzuWinControl::KeepWindowValues();
}

void rg_rich_edit::GetSel(int& start, int& end) const {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) {
    const QTextCursor c = edit->textCursor();
    start = TextIndexOf(*edit->document(), c.selectionStart());
    end = TextIndexOf(*edit->document(), c.selectionEnd());
    return;
  }
  start = m_selStart;
  end = m_selEnd;
}

void rg_rich_edit::ReplaceSel(const CWString& text) {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->insertPlainText(ToQString(text));
}

intptr_t rg_rich_edit::HandleMessage(int message, intptr_t wParam, intptr_t lParam) {
  const intptr_t r = CQzuWinControl::HandleMessage(message, wParam, lParam);
  auto* edit = qobject_cast<QTextEdit*>(GetWidget());
  switch (message) {
    case 0xC6:
      return edit && edit->document()->isUndoAvailable() ? 1 : 0;
    case 0xC7:
      Undo();
      return 1;
    case 0xB1:
      SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
      return 0;
    case 0xCF:
      SetReadOnly(wParam != 0);
      return 1;
    case 0x432:
      return edit && !edit->isReadOnly() && edit->canPaste() ? 1 : 0;
    case 0x300:
      Cut();
      return 0;
    case 0x301:
      Copy();
      return 0;
    case 0x302:
      Paste();
      return 0;
    case 0x303:
      if (edit && !edit->isReadOnly()) edit->textCursor().removeSelectedText();
      return 0;
    default:
      return r;
  }
}

void rg_rich_edit::Copy() {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->copy();
}
void rg_rich_edit::Cut() {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->cut();
}
void rg_rich_edit::Paste() {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->paste();
}
void rg_rich_edit::Undo() {
  if (auto* edit = qobject_cast<QTextEdit*>(GetWidget())) edit->undo();
}

}  // namespace rg_Ombrine_MFCJieMian_base
