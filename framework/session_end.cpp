#include "framework/session_end.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <algorithm>
#include <csignal>
#include <vector>

bool CloseAllWindowsForSessionEnd() {
  // Each window is asked once: one that closed but stays visible (or one
  // that a close brought back) is not asked again.
  std::vector<QPointer<QWidget>> asked;
  auto askedBefore = [&](QWidget* w) {
    return std::any_of(asked.begin(), asked.end(), [w](const QPointer<QWidget>& p) { return p.data() == w; });
  };
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (askedBefore(modal)) break;
    asked.emplace_back(modal);
    if (!modal->close()) return false;
  }
  for (bool again = true; again;) {
    again = false;
    // Closing a window may close or open others: look again after each.
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || askedBefore(w)) continue;
      asked.emplace_back(w);
      if (!w->close()) return false;
      again = true;
      break;
    }
  }
  return true;
}

CQzuSessionEnd::CQzuSessionEnd() : m_signals({SIGTERM, SIGHUP, SIGINT}, [](int) { CloseAllWindowsForSessionEnd(); }) {
#if QT_CONFIG(sessionmanager)
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app) return;
  // Qt asks for a direct connection: the manager waits for the answer.
  m_commitData = QObject::connect(
      app, &QGuiApplication::commitDataRequest, app,
      [](QSessionManager& manager) {
        const bool mayAsk = manager.allowsInteraction();
        const bool closed = CloseAllWindowsForSessionEnd();
        if (!mayAsk) return;
        if (!closed) manager.cancel();
        manager.release();
      },
      Qt::DirectConnection);
#endif
}

CQzuSessionEnd::~CQzuSessionEnd() { QObject::disconnect(m_commitData); }
