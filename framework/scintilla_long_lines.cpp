#include "framework/scintilla_long_lines.h"

#include <Qsci/qsciscintillabase.h>

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>

#include <algorithm>

namespace {

using B = QsciScintillaBase;
constexpr int kTextStyle = 0;
constexpr int kNoteColour = 0x808080;  // BGR grey

bool IsContinuationByte(int byte) { return (byte & 0xC0) == 0x80; }

// Lifts the tails' protection for the editing events of one editor.
class EditWatcher : public QObject {
 public:
  EditWatcher(QObject* editor, std::shared_ptr<ScintillaLongLines> lines)
      : QObject(editor), m_lines(std::move(lines)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (!m_lines->AnyHidden()) return false;
    bool edits = false;
    switch (event->type()) {
      case QEvent::KeyPress:
        edits = IsEditingKey(*static_cast<QKeyEvent*>(event));
        break;
      case QEvent::InputMethod:
        edits = !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty();
        break;
      case QEvent::Drop:
        edits = true;
        break;
      default:
        break;
    }
    if (edits) {
      m_lines->Unprotect();
      // Queued ahead of the paint the command asks for, which is posted
      // with low priority.
      QMetaObject::invokeMethod(
          parent(), [lines = m_lines] { lines->Protect(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::shared_ptr<ScintillaLongLines> m_lines;
};

}  // namespace

bool IsEditingKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
  switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Menu:
      return false;
    case Qt::Key_Insert:  // overtype, or Ctrl+Insert copy; Shift+Insert pastes
      return mods == Qt::ShiftModifier;
    case Qt::Key_A:
    case Qt::Key_C:
      return mods != Qt::ControlModifier;  // select all, copy
    default:
      break;
  }
  return !(key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35);
}

void ScintillaLongLines::WatchEditor(QObject* editor, const std::shared_ptr<ScintillaLongLines>& self) {
  auto* watcher = new EditWatcher(editor, self);
  editor->installEventFilter(watcher);
  // Drops arrive at the scroll area's viewport.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(editor)) area->viewport()->installEventFilter(watcher);
}

bool ScintillaLongLines::IsEditingMessage(unsigned int message) {
  switch (message) {
    case B::SCI_CUT:
    case B::SCI_PASTE:
    case B::SCI_CLEAR:
    case B::SCI_REPLACESEL:
    case B::SCI_DELETEBACK:
    case B::SCI_DELETEBACKNOTLINE:
    case B::SCI_TAB:
    case B::SCI_BACKTAB:
    case B::SCI_NEWLINE:
    case B::SCI_DELWORDLEFT:
    case B::SCI_DELWORDRIGHT:
    case B::SCI_DELWORDRIGHTEND:
    case B::SCI_DELLINELEFT:
    case B::SCI_DELLINERIGHT:
    case B::SCI_LINECUT:
    case B::SCI_LINEDELETE:
    case B::SCI_LINETRANSPOSE:
    case B::SCI_LINEDUPLICATE:
    case B::SCI_SELECTIONDUPLICATE:
    case B::SCI_LOWERCASE:
    case B::SCI_UPPERCASE:
    case B::SCI_MOVESELECTEDLINESUP:
    case B::SCI_MOVESELECTEDLINESDOWN:
      return true;
    default:
      return false;
  }
}

void ScintillaLongLines::Unprotect() {
  if (!m_anyHidden || m_unprotected) return;
  m_busy = true;
  Send(B::SCI_STYLESETVISIBLE, kScintillaHiddenTailStyle, 1);
  m_busy = false;
  m_unprotected = true;
}

void ScintillaLongLines::Protect() {
  if (!m_unprotected) return;
  m_busy = true;
  Send(B::SCI_STYLESETVISIBLE, kScintillaHiddenTailStyle, 0);
  m_busy = false;
  m_unprotected = false;
}

std::string LongLineNote(intptr_t lineCharacters, intptr_t shownCharacters) {
  // Two lines, each narrower than an editor at the smallest window: a note
  // is never wrapped, and a longer one would be cut at the editor's edge.
  return QString::fromUtf16(u"此行共 %1 个字符，只显示前 %2 个\n（文本完整，复制、保存和转换不受影响）")
      .arg(lineCharacters)
      .arg(shownCharacters)
      .toStdString();
}

void ScintillaLongLines::MatchTextStyle() {
  const bool wasBusy = m_busy;
  m_busy = true;
  char face[256] = {};
  if (Send(B::SCI_STYLEGETFONT, kTextStyle, 0) < static_cast<intptr_t>(sizeof face))
    Send(B::SCI_STYLEGETFONT, kTextStyle, reinterpret_cast<intptr_t>(face));
  const intptr_t size = Send(B::SCI_STYLEGETSIZEFRACTIONAL, kTextStyle);
  const intptr_t weight = Send(B::SCI_STYLEGETWEIGHT, kTextStyle);
  const intptr_t back = Send(B::SCI_STYLEGETBACK, kTextStyle);
  for (int style : {kScintillaHiddenTailStyle, kScintillaLineNoteStyle}) {
    // Both as tall as the text: every style counts in the line height.
    if (face[0] != '\0') Send(B::SCI_STYLESETFONT, static_cast<uintptr_t>(style), reinterpret_cast<intptr_t>(face));
    Send(B::SCI_STYLESETSIZEFRACTIONAL, static_cast<uintptr_t>(style), size);
    Send(B::SCI_STYLESETWEIGHT, static_cast<uintptr_t>(style), weight);
    Send(B::SCI_STYLESETBACK, static_cast<uintptr_t>(style), back);
  }
  Send(B::SCI_STYLESETVISIBLE, kScintillaHiddenTailStyle, m_unprotected ? 1 : 0);
  Send(B::SCI_STYLESETFORE, kScintillaLineNoteStyle, kNoteColour);
  m_stylesMade = true;
  m_busy = wasBusy;
}

void ScintillaLongLines::AfterModification(intptr_t position, intptr_t length, int modificationType) {
  const bool inserted = (modificationType & B::SC_MOD_INSERTTEXT) != 0;
  if (m_busy || !(inserted || (modificationType & B::SC_MOD_DELETETEXT))) return;
  // The command that was let through has made its change.
  Protect();
  if (m_anyHidden && Send(B::SCI_GETLENGTH) == 0) {
    // The whole text went (as when a new one is set): so did every long line.
    m_busy = true;
    Send(B::SCI_ANNOTATIONCLEARALL);
    m_busy = false;
    m_anyHidden = false;
    return;
  }
  // No line can be long in a short text, and no line needs its style back.
  if (!m_anyHidden && Send(B::SCI_GETLENGTH) <= kScintillaLineShownBytes) return;
  m_busy = true;
  if (!m_stylesMade) MatchTextStyle();
  const intptr_t first = Send(B::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(position));
  const intptr_t last = Send(B::SCI_LINEFROMPOSITION, static_cast<uintptr_t>(position + (inserted ? length : 0)));
  for (intptr_t line = first; line <= last; ++line) StyleLine(line);
  m_busy = false;
}

void ScintillaLongLines::StyleLine(intptr_t line) {
  const intptr_t start = Send(B::SCI_POSITIONFROMLINE, static_cast<uintptr_t>(line));
  const intptr_t end = Send(B::SCI_GETLINEENDPOSITION, static_cast<uintptr_t>(line));
  if (end - start <= kScintillaLineShownBytes) {
    // A line that was long, or holds part of one, draws whole again.
    if (!m_anyHidden) return;
    Style(start, end, kTextStyle);
    Send(B::SCI_ANNOTATIONSETTEXT, static_cast<uintptr_t>(line), 0);
    return;
  }
  // The hidden part begins at a character's first byte.
  intptr_t boundary = start + kScintillaLineShownBytes;
  while (boundary > start && IsContinuationByte(static_cast<int>(Send(B::SCI_GETCHARAT, boundary)))) --boundary;
  Style(start, boundary, kTextStyle);
  Style(boundary, end, kScintillaHiddenTailStyle);
  m_anyHidden = true;
  const std::string note = LongLineNote(CountCharacters(start, end), CountCharacters(start, boundary));
  Send(B::SCI_ANNOTATIONSETVISIBLE, B::ANNOTATION_STANDARD);
  Send(B::SCI_ANNOTATIONSETTEXT, static_cast<uintptr_t>(line), reinterpret_cast<intptr_t>(note.c_str()));
  Send(B::SCI_ANNOTATIONSETSTYLE, static_cast<uintptr_t>(line), kScintillaLineNoteStyle);
}

void ScintillaLongLines::Style(intptr_t from, intptr_t to, int style) {
  if (to <= from) return;
  Send(B::SCI_STARTSTYLING, static_cast<uintptr_t>(from), 0);
  Send(B::SCI_SETSTYLING, static_cast<uintptr_t>(to - from), style);
}

intptr_t ScintillaLongLines::CountCharacters(intptr_t from, intptr_t to) const {
  const auto* bytes = reinterpret_cast<const unsigned char*>(
      Send(B::SCI_GETRANGEPOINTER, static_cast<uintptr_t>(from), to - from));
  if (!bytes) return 0;
  return std::count_if(bytes, bytes + (to - from), [](unsigned char b) { return !IsContinuationByte(b); });
}
