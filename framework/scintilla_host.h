#pragma once
// The Scintilla host over QScintilla. CVWnd_Scintilla is the window wrapper a
// code editor control puts into its window object: it creates the editor,
// keeps its direct function and pointer (what SCI_GETDIRECTFUNCTION and
// SCI_GETDIRECTPOINTER answer), sends messages by number, and forwards the
// editor's notifications to a listener as records. The editor runs in code
// page 65001, so text crosses as UTF-8. rg_scintilla_edit is a plain control
// around it.
//
// Large texts: wrapping lays out every line of the document while the text
// is set, about 0.3 s per megabyte here, so a text above
// kScintillaWrapTextLimit bytes of UTF-8 is shown unwrapped, as editors do
// with big files. SCI_SETWRAPMODE sent through Send is the wrap mode asked
// for (SCI_GETWRAPMODE answers it); it applies whenever the text is at most
// the limit again.
//
// Very long lines are drawn only in part (framework/scintilla_long_lines.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/scintilla_long_lines.h"
#include "framework/win_control.h"

class QsciScintilla;

// SCN_* codes forwarded to the listener.
enum : int {
  kScnCharAdded = 2001,
  kScnSavePointReached = 2002,
  kScnSavePointLeft = 2003,
  kScnModifyAttemptRo = 2004,
  kScnDoubleClick = 2006,
  kScnUpdateUi = 2007,
  kScnModified = 2008,
  kScnMacroRecord = 2009,
  kScnMarginClick = 2010,
  kScnPainted = 2013,
  kScnUserListSelection = 2014,
  kScnDwellStart = 2016,
  kScnDwellEnd = 2017,
  kScnZoom = 2018,
  kScnHotSpotClick = 2019,
  kScnHotSpotDoubleClick = 2020,
  kScnCallTipClick = 2021,
  kScnAutoCSelection = 2022,
  kScnIndicatorClick = 2023,
  kScnIndicatorRelease = 2024,
  kScnAutoCCancelled = 2025,
  kScnAutoCCharDeleted = 2026,
  kScnHotSpotReleaseClick = 2027,
  kScnAutoCCompleted = 2030,
  kScnMarginRightClick = 2031,
  kScnAutoCSelectionChange = 2032,
};

// The fields of Scintilla's notification record that the editor reports.
// `text` points at `length` bytes of UTF-8 (modifications) or at a
// zero-terminated UTF-8 text (lists), valid during the call; null for none.
struct QzuScintillaNotification {
  int code = 0;
  intptr_t position = 0;
  int ch = 0;
  int modifiers = 0;
  int modificationType = 0;
  const char* text = nullptr;
  intptr_t length = 0;
  intptr_t linesAdded = 0;
  int message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  intptr_t line = 0;
  int foldLevelNow = 0;
  int foldLevelPrev = 0;
  int margin = 0;
  int listType = 0;
  int x = 0;
  int y = 0;
  int token = 0;
  intptr_t annotationLinesAdded = 0;
  int updated = 0;
  int listCompletionMethod = 0;
};

class IScintillaEventListener {
 public:
  virtual ~IScintillaEventListener() = default;
  // What the handler of the notification returned.
  virtual intptr_t OnScintillaNotification(const QzuScintillaNotification& notification) = 0;
};

using QzuScintillaDirectFunction = intptr_t (*)(intptr_t pointer, unsigned int message, uintptr_t wParam,
                                                intptr_t lParam);

inline constexpr size_t kScintillaWrapTextLimit = size_t{1} << 20;

class CVWnd_Scintilla : public CVWnd {
 public:
  CVWnd_Scintilla();
  ~CVWnd_Scintilla() override;

  // Creates the editor as a child of `parent`, asks it for its direct
  // function and pointer and sets code page 65001. Null when the editor
  // cannot be made or gives no direct function.
  QsciScintilla* CreateEditor(QWidget* parent);
  QsciScintilla* Editor() const;
  QzuScintillaDirectFunction DirectFunction() const { return Exists() ? m_function : nullptr; }
  intptr_t DirectPointer() const { return Exists() ? m_pointer : 0; }
  // A message through the direct function; 0 without an editor.
  intptr_t Send(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const;
  // The listener gets every forwarded notification (null: nobody).
  void SetListener(IScintillaEventListener* listener);

  // The whole text as UTF-8 (empty without an editor).
  std::string GetTextUtf8() const;
  // Replaces the whole text; the bytes end at the first zero byte.
  void SetTextUtf8(const std::string& text);
  // Whether wrapping is held off for the present text.
  bool WrapHeldForSize() const { return m_wrapHeld; }
  // Whether some line of the present text is drawn only in part.
  bool LineHiddenInPart() const { return m_longLines && m_longLines->AnyHidden(); }

 private:
  void ApplyWrap(size_t textBytes);

  QzuScintillaDirectFunction m_function = nullptr;
  intptr_t m_pointer = 0;
  mutable intptr_t m_wrapAsked = 0;  // SC_WRAP_NONE; Send records it
  bool m_wrapHeld = false;
  // Shared with the editor's signal handlers, which may outlive the wrapper.
  std::shared_ptr<IScintillaEventListener*> m_listener;
  std::shared_ptr<ScintillaLongLines> m_longLines;
};

// The family name to give the editor for a face name. A non-ASCII family
// reaches the editor's fonts garbled ("????"), so "微软雅黑" (and an empty
// face) becomes "Microsoft YaHei", which the start-up substitution maps to
// the CJK font, and any other non-ASCII face the family it resolves to.
std::string ScintillaFaceName(const CWString& face);

namespace rg_Ombrine_MFCJieMian_base {

class rg_scintilla_edit : public CQzuWinControl, public IScintillaEventListener {
  QZU_DECLARE_CLASS(rg_scintilla_edit)

 public:
  rg_scintilla_edit();
  ~rg_scintilla_edit() override;
  int CopyFrom(const CQzuObject& source) override;

  CVWnd_Scintilla* Host() const { return m_window->WndAs<CVWnd_Scintilla>(); }
  intptr_t Send(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const;
  // Text as UTF-16, carried to the editor as UTF-8; a zero unit ends it on
  // the way in. Nothing without a window.
  void SetText(const CWString& text);
  CWString GetText() const;

  intptr_t OnScintillaNotification(const QzuScintillaNotification& notification) override;

  // Every notification, as (code, the record's address).
  CQzuEventSlot<int, const QzuScintillaNotification*> OnNotify;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  std::vector<QObject*> WatchedParts(QWidget* widget) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void ApplyFont() override;
};

}  // namespace rg_Ombrine_MFCJieMian_base
