#include "framework/window_program.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace rg_Ombrine_base {

QZU_IMPLEMENT_ABSTRACT_CLASS(rg_ChengXuLei, CQzuUserApp, "rg_Ombrine_base::rg_ChengXuLei")
QZU_IMPLEMENT_ABSTRACT_CLASS(rg_ChuangKouChengXuLei, rg_ChengXuLei, "rg_Ombrine_base::rg_ChuangKouChengXuLei")

int rg_ChuangKouChengXuLei::PreTranslateMessage(QObject*, QEvent*) { return 1; }
int rg_ChuangKouChengXuLei::OnIdle(int) { return 0; }
void rg_ChuangKouChengXuLei::ExitInstance() {}

}  // namespace rg_Ombrine_base

rg_Ombrine_base::rg_ChuangKouChengXuLei* RunningWindowProgram() {
  CQzuUserApp* app = RunningUserApp();
  if (!app || !app->IsKindOf(rg_Ombrine_base::rg_ChuangKouChengXuLei::StaticClassInfo())) return nullptr;
  return static_cast<rg_Ombrine_base::rg_ChuangKouChengXuLei*>(app);
}

namespace {

bool IsMouseOrKey(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

class CQzuWindowProgramHooks::Filter : public QObject {
 public:
  Filter() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
      connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Filter::Idle);
  }

  // The window system delivers mouse and key events to a top-level QWindow
  // first, which hands them to the widget: catching them there sees each
  // event once, before anything of the program does.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWindowType() || !IsMouseOrKey(event->type())) return false;
    rg_Ombrine_base::rg_ChuangKouChengXuLei* program = RunningWindowProgram();
    return program && program->PreTranslateMessage(watched, event) == 0;
  }

 private:
  void Idle() {
    rg_Ombrine_base::rg_ChuangKouChengXuLei* program = RunningWindowProgram();
    if (!program) return;
    if (program->OnIdle(m_idleCount) == 0) {
      m_idleCount = 0;
      return;
    }
    ++m_idleCount;
    // Another turn at once: an empty call wakes the loop, which comes back
    // here before it waits again.
    QTimer::singleShot(0, this, [] {});
  }

  int m_idleCount = 0;
};

CQzuWindowProgramHooks::CQzuWindowProgramHooks() : m_filter(new Filter()) {
  QCoreApplication::instance()->installEventFilter(m_filter);
}

CQzuWindowProgramHooks::~CQzuWindowProgramHooks() {
  QCoreApplication::instance()->removeEventFilter(m_filter);
  delete m_filter;
}
