#pragma once
// The native window of a control: CVWnd wraps one QWidget (subclasses keep
// what a kind of window needs besides, such as the Scintilla host's send
// function), and CMfcWndObject is the reference-counted holder that copies of
// a control share. Events of the widget reach the control that created it,
// the holder's owner, through one application-wide event filter.
//
// Each window may also carry one replaceable message procedure, which sees
// every event of the window before its control does (SetWindowProc).
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "common/ref_object.h"

namespace rg_Ombrine_MFCJieMian_base {
class CQzuWinControl;
}

class CVWnd {
 public:
  CVWnd() = default;
  CVWnd(const CVWnd&) = delete;
  CVWnd& operator=(const CVWnd&) = delete;
  virtual ~CVWnd() = default;

  QWidget* Widget() const { return m_widget.data(); }
  bool Exists() const { return !m_widget.isNull(); }
  void Attach(QWidget* widget) { m_widget = widget; }
  // Forgets the widget without touching it.
  void Detach() { m_widget.clear(); }

 private:
  QPointer<QWidget> m_widget;
};

class CMfcWndObject : public CQzuRefObject {
 public:
  explicit CMfcWndObject(std::unique_ptr<CVWnd> wnd = nullptr);

  CVWnd& Wnd() { return *m_wnd; }
  const CVWnd& Wnd() const { return *m_wnd; }
  template <class T>
  T* WndAs() const { return dynamic_cast<T*>(m_wnd.get()); }
  // Only while there is no window.
  void ReplaceWnd(std::unique_ptr<CVWnd> wnd);

  QWidget* Widget() const { return m_wnd->Widget(); }
  bool HasWindow() const { return m_wnd->Exists(); }

  // The control whose handlers receive the window's events.
  rg_Ombrine_MFCJieMian_base::CQzuWinControl* Owner() const { return m_owner; }
  void SetOwner(rg_Ombrine_MFCJieMian_base::CQzuWinControl* owner) { m_owner = owner; }

  // Takes `widget` as the window and routes its events (and those of
  // `extra` objects such as a scroll area's viewport) to the owner.
  void AttachWidget(QWidget* widget, const std::vector<QObject*>& extra = {});
  void WatchObject(QObject* object);
  // Hides the window and schedules its deletion; HasWindow() is false at
  // once, so loops waiting for the window end on their next turn. The
  // controls of the windows inside it (children, and windows it owns) lose
  // theirs at the same moment: those widgets go later with this one, but a
  // control must be able to create its window again at once. Each control
  // first keeps what only its window held (KeepWindowValues).
  void DestroyWindow();

  // Whether the shown event was raised last (shown and hidden alternate).
  bool reportedShown = false;

  // The holder of a watched object, or null.
  static CMfcWndObject* FromObject(const QObject* object);
  // A watched object is being deleted: it leaves the registry, and when it
  // is a holder's window (deleted with its parent, not by DestroyWindow) the
  // owner hears that its window is gone.
  static void ObjectDestroyed(QObject* gone);

 protected:
  ~CMfcWndObject() override;

 private:
  // Stops routing the window's events and forgets the widget, which is
  // returned untouched.
  QWidget* ReleaseWidget();

  std::unique_ptr<CVWnd> m_wnd;
  rg_Ombrine_MFCJieMian_base::CQzuWinControl* m_owner = nullptr;
  std::vector<QPointer<QObject>> m_watched;
  // The window's address, compared only: by the time a deleted widget says
  // so, its pointer is cleared.
  const QObject* m_widgetAddress = nullptr;
};

// A window's message procedure: it sees every event of the window before the
// window's control (and before the window itself); true takes the event,
// false passes it on. A procedure that replaced another passes what it does
// not handle to the one it replaced, or returns false when that one is null
// (the window's own handling). UI thread only, like the window.
using QzuWindowProc = bool (*)(QObject* window, QEvent* event);

// The procedure set for `window`; null when it has none (its own handling).
QzuWindowProc GetWindowProc(const QObject* window);
// Gives `window` the procedure (null: back to its own handling) and returns
// the one it had. The setting goes with the window. Null window: nothing, 0.
QzuWindowProc SetWindowProc(QWidget* window, QzuWindowProc procedure);

// The setter under a plain C name that every program linking the framework
// exports (framework/folder.cmake), so that it can be looked up by name at
// run time in the program itself: window and procedure as pointer-sized
// integers, the previous procedure back.
inline constexpr char16_t kSetWindowProcSymbol[] = u"QzuSetWindowProc";
extern "C" __attribute__((visibility("default"))) intptr_t QzuSetWindowProc(intptr_t window, intptr_t procedure);
