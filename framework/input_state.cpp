#include "framework/input_state.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

#include <atomic>

#include "framework/key_translation.h"

namespace {

std::atomic<uint64_t> g_held[4];

void SetHeld(int vk, bool held) {
  if (vk <= 0 || vk > 255) return;
  const uint64_t bit = uint64_t{1} << (vk & 63);
  if (held) g_held[vk >> 6].fetch_or(bit, std::memory_order_relaxed);
  else g_held[vk >> 6].fetch_and(~bit, std::memory_order_relaxed);
}

bool IsHeld(int vk) {
  if (vk <= 0 || vk > 255) return false;
  return (g_held[vk >> 6].load(std::memory_order_relaxed) >> (vk & 63)) & 1u;
}

// Left and right variants of the modifier keys follow the plain ones.
void SetModifierPair(int vk, bool held) {
  SetHeld(vk, held);
  if (vk == 0x10) { SetHeld(0xA0, held); SetHeld(0xA1, held); }
  if (vk == 0x11) { SetHeld(0xA2, held); SetHeld(0xA3, held); }
  if (vk == 0x12) { SetHeld(0xA4, held); SetHeld(0xA5, held); }
}

class InputRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->isAutoRepeat()) break;
        SetModifierPair(VirtualKeyFromQtKey(ke->key(), ke->modifiers()), e->type() == QEvent::KeyPress);
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        SetHeld(VirtualKeyFromMouseButton(static_cast<QMouseEvent*>(e)->button()), true);
        break;
      case QEvent::MouseButtonRelease:
        SetHeld(VirtualKeyFromMouseButton(static_cast<QMouseEvent*>(e)->button()), false);
        break;
      case QEvent::ApplicationDeactivate:
        ResetInputState();
        break;
      default:
        break;
    }
    return false;
  }
};

}  // namespace

void InstallInputStateTracker() {
  static InputRecorder* recorder = nullptr;
  if (recorder || !QCoreApplication::instance()) return;
  recorder = new InputRecorder();
  QCoreApplication::instance()->installEventFilter(recorder);
}

void ResetInputState() {
  for (auto& word : g_held) word.store(0, std::memory_order_relaxed);
}

int16_t QtAsyncKeyState(int vk) {
  bool held = IsHeld(vk);
  if (!held && qApp && QThread::currentThread() == qApp->thread()) {
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
    switch (vk) {
      case 0x01: held = buttons & Qt::LeftButton; break;
      case 0x02: held = buttons & Qt::RightButton; break;
      case 0x04: held = buttons & Qt::MiddleButton; break;
      case 0x10: case 0xA0: case 0xA1: held = mods & Qt::ShiftModifier; break;
      case 0x11: case 0xA2: case 0xA3: held = mods & Qt::ControlModifier; break;
      case 0x12: case 0xA4: case 0xA5: held = mods & Qt::AltModifier; break;
      default: break;
    }
  }
  return held ? static_cast<int16_t>(0x8000) : 0;
}
