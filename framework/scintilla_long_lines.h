#pragma once
// Very long lines in the Scintilla editor. Scintilla measures every
// character of a line through Qt's text shaping whenever any part of the
// line is shown: a Base64 or URL-encoded result of 10 MB is one line of 13 MB
// and takes seconds to show, each time its layout is made again. As editors
// do, such a line is drawn only up to kScintillaLineShownBytes: the rest of
// it gets a hidden style, which Scintilla neither measures nor draws, and a
// note under the line says how much is not shown. The text itself is whole:
// reading, copying, saving and converting it see every character.
//
// The styling follows the text: each insertion or deletion styles again the
// lines it touched, from inside Scintilla's modification notification, so
// that the editor never lays out a long line before its tail is hidden.
//
// Scintilla takes text in a hidden style for protected and refuses to edit
// it. So for each editing key (not for moves and copies, whose caret or
// scroll update would lay the line out in full) and each editing message,
// the tail style is shown for just that command: the command's own
// modification hides it again before anything is laid out, and a command
// that changed nothing has it hidden again before the next paint.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class QKeyEvent;
class QObject;

inline constexpr intptr_t kScintillaLineShownBytes = 100000;
// The hidden style of long lines' tails and the style of their notes.
inline constexpr int kScintillaHiddenTailStyle = 31;
inline constexpr int kScintillaLineNoteStyle = 30;

using QzuScintillaSend = intptr_t (*)(intptr_t pointer, unsigned int message, uintptr_t wParam, intptr_t lParam);

// The note under a line of `lineCharacters` characters of which the first
// `shownCharacters` are drawn: two lines, so that it fits a narrow editor.
std::string LongLineNote(intptr_t lineCharacters, intptr_t shownCharacters);

class ScintillaLongLines {
 public:
  ScintillaLongLines(QzuScintillaSend send, intptr_t pointer) : m_send(send), m_pointer(pointer) {}

  // After an insertion or deletion reported by the editor (other kinds are
  // ignored): the lines around it are styled again.
  void AfterModification(intptr_t position, intptr_t length, int modificationType);
  // After a change to the styles the text is drawn in: once a long line
  // has been styled, the hidden and note styles follow the text style (and
  // the tail style stays hidden). Until then no style is touched.
  void AfterTextStyleChange() {
    if (m_stylesMade) MatchTextStyle();
  }
  // Watches the editor's keys, input and drops (see above). The watcher
  // holds `self`, which must own this object.
  static void WatchEditor(QObject* editor, const std::shared_ptr<ScintillaLongLines>& self);
  // Around a message sent to the editor: whether it edits the text, and the
  // tail's protection lifted before it and put back after it.
  static bool IsEditingMessage(unsigned int message);
  void Unprotect();
  void Protect();

  // Whether this is styling now: the style and note changes it makes are
  // its own, not the user's.
  bool Busy() const { return m_busy; }
  // Whether some line of the text is drawn only in part.
  bool AnyHidden() const { return m_anyHidden; }

 private:
  intptr_t Send(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const {
    return m_send(m_pointer, message, wParam, lParam);
  }
  // The hidden and note styles take the font of the text style, and the
  // tail style its hiding.
  void MatchTextStyle();
  void StyleLine(intptr_t line);
  void Style(intptr_t from, intptr_t to, int style);
  intptr_t CountCharacters(intptr_t from, intptr_t to) const;

  QzuScintillaSend m_send;
  intptr_t m_pointer;
  bool m_busy = false;
  bool m_anyHidden = false;
  bool m_stylesMade = false;
  bool m_unprotected = false;
};

// Whether a key press may change the text (moves, selections, copies and
// lone modifiers do not).
bool IsEditingKey(const QKeyEvent& key);
