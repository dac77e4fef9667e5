#include "framework/native_window.h"

#include <QApplication>
#include <QHash>

#include "framework/win_control.h"

namespace {

QHash<const QObject*, CMfcWndObject*>& Registry() {
  static QHash<const QObject*, CMfcWndObject*> registry;
  return registry;
}

// One filter for every window of the framework: it looks the watched object
// up, so a window whose holder is gone is simply no longer answered.
class WindowEventRouter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    CMfcWndObject* holder = CMfcWndObject::FromObject(watched);
    if (!holder) return false;
    // Keep the holder alive through handlers that release the control.
    CQzuRef<CMfcWndObject> keep = CQzuRef<CMfcWndObject>::Share(holder);
    rg_Ombrine_MFCJieMian_base::CQzuWinControl* owner = holder->Owner();
    if (!owner) return false;
    return owner->HandleWindowEvent(watched, event);
  }
};

WindowEventRouter* Router() {
  static WindowEventRouter* router = new WindowEventRouter();
  return router;
}

QHash<const QObject*, QzuWindowProc>& Procedures() {
  static QHash<const QObject*, QzuWindowProc> procedures;
  return procedures;
}

// Runs the procedure of every window that has one.
class WindowProcFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QzuWindowProc procedure = Procedures().value(watched, nullptr);
    return procedure && procedure(watched, event);
  }
};

WindowProcFilter* ProcFilter() {
  static WindowProcFilter* filter = new WindowProcFilter();
  return filter;
}

}  // namespace

CMfcWndObject::CMfcWndObject(std::unique_ptr<CVWnd> wnd) : m_wnd(wnd ? std::move(wnd) : std::make_unique<CVWnd>()) {}

CMfcWndObject::~CMfcWndObject() { DestroyWindow(); }

void CMfcWndObject::ReplaceWnd(std::unique_ptr<CVWnd> wnd) {
  if (HasWindow() || !wnd) return;
  m_wnd = std::move(wnd);
}

CMfcWndObject* CMfcWndObject::FromObject(const QObject* object) { return Registry().value(object, nullptr); }

void CMfcWndObject::AttachWidget(QWidget* widget, const std::vector<QObject*>& extra) {
  m_wnd->Attach(widget);
  m_widgetAddress = widget;
  reportedShown = false;
  WatchObject(widget);
  for (QObject* o : extra) WatchObject(o);
}

void CMfcWndObject::WatchObject(QObject* object) {
  if (!object) return;
  Registry().insert(object, this);
  m_watched.emplace_back(object);
  object->installEventFilter(Router());
  // A widget deleted with its parent must not leave its address behind.
  QObject::connect(object, &QObject::destroyed, Router(), &CMfcWndObject::ObjectDestroyed);
}

void CMfcWndObject::ObjectDestroyed(QObject* gone) {
  CMfcWndObject* holder = Registry().take(gone);
  if (!holder || holder->m_widgetAddress != gone) return;
  holder->m_widgetAddress = nullptr;
  CQzuRef<CMfcWndObject> keep = CQzuRef<CMfcWndObject>::Share(holder);
  if (rg_Ombrine_MFCJieMian_base::CQzuWinControl* owner = holder->Owner()) owner->WindowDestroyed();
}

QWidget* CMfcWndObject::ReleaseWidget() {
  for (const QPointer<QObject>& o : m_watched) {
    if (o) {
      Registry().remove(o.data());
      o->removeEventFilter(Router());
    }
  }
  // Objects already deleted may have left stale keys behind.
  for (auto it = Registry().begin(); it != Registry().end();) {
    if (it.value() == this) it = Registry().erase(it);
    else ++it;
  }
  m_watched.clear();
  m_widgetAddress = nullptr;
  QWidget* w = m_wnd->Widget();
  m_wnd->Detach();
  reportedShown = false;
  return w;
}

void CMfcWndObject::DestroyWindow() {
  if (QWidget* w = m_wnd->Widget()) {
    for (QWidget* inner : w->findChildren<QWidget*>()) {
      CMfcWndObject* holder = FromObject(inner);
      if (!holder || holder == this || holder->Widget() != inner) continue;
      if (holder->m_owner) holder->m_owner->KeepWindowValues();
      holder->ReleaseWidget();
    }
    if (m_owner) m_owner->KeepWindowValues();
  }
  if (QWidget* w = ReleaseWidget()) {
    // The window may be inside one of its own handlers: delete it later.
    w->hide();
    w->deleteLater();
  }
}

QzuWindowProc GetWindowProc(const QObject* window) { return Procedures().value(window, nullptr); }

QzuWindowProc SetWindowProc(QWidget* window, QzuWindowProc procedure) {
  if (!window) return nullptr;
  const QzuWindowProc previous = Procedures().value(window, nullptr);
  // Qt asks the filter installed last first: installing it again puts the
  // procedure before the control's router whenever the window was watched.
  window->removeEventFilter(ProcFilter());
  if (!procedure) {
    Procedures().remove(window);
    return previous;
  }
  if (!previous)
    QObject::connect(window, &QObject::destroyed, ProcFilter(), [](QObject* gone) { Procedures().remove(gone); });
  Procedures().insert(window, procedure);
  window->installEventFilter(ProcFilter());
  return previous;
}

extern "C" intptr_t QzuSetWindowProc(intptr_t window, intptr_t procedure) {
  return reinterpret_cast<intptr_t>(
      SetWindowProc(reinterpret_cast<QWidget*>(window), reinterpret_cast<QzuWindowProc>(procedure)));
}
