#include "framework/envelope_dialog.h"

#include <QCoreApplication>
#include <QVBoxLayout>

#include "framework/window_message.h"

namespace {

class EnvelopeWidget : public QDialog {
 public:
  EnvelopeWidget(QWidget* owner, CQzuWinForm* form) : QDialog(owner), m_form(form), m_window(CQzuRef<CMfcWndObject>::Share(form->GetWindowObject())) {}

  void Forget() { m_form = nullptr; }

  void reject() override {
    // Esc and the title bar's close button ask the form first.
    if (FormAlive() && !m_form->QueryClose()) return;
    QDialog::reject();
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QzuMessageEvent::EventType()) {
      auto* m = static_cast<QzuMessageEvent*>(e);
      if (m->message == qzu_win::kEnvelopeEndMessage && m->wParam == qzu_win::kEnvelopeEndCode) {
        done(qzu_win::kEnvelopeEndCode);
      } else if (FormAlive()) {
        m_form->HandleMessage(m->message, m->wParam, m->lParam);
      }
      return true;
    }
    return QDialog::event(e);
  }

 private:
  bool FormAlive() const { return m_form && m_window->Owner() == m_form; }

  CQzuWinForm* m_form;
  CQzuRef<CMfcWndObject> m_window;
};

}  // namespace

int CQzuEnvelopeDialog::RunModal(CQzuWinForm& form, CQzuWinControl* owner, int width, int height, int id) {
  if (form.HasWindow()) return 0;
  QWidget* ownerWidget = owner ? owner->GetWidget() : nullptr;
  auto* dialog = new EnvelopeWidget(ownerWidget, &form);
  if (width == qzu_win::kCwUseDefault || width < 0) width = form.DefaultWidth();
  if (height == qzu_win::kCwUseDefault || height < 0) height = form.DefaultHeight();
  dialog->resize(width, height);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  form.SetEnvelope(dialog);
  if (!form.Create(nullptr, 0, 0, width, height, id)) {
    form.SetEnvelope(nullptr);
    delete dialog;
    return 0;
  }
  layout->addWidget(form.GetWidget());
  CQzuRef<CMfcWndObject> window = CQzuRef<CMfcWndObject>::Share(form.GetWindowObject());
  const int code = dialog->exec();
  // The form object may have been destroyed by a handler inside the loop.
  if (window->Owner() == &form) {
    form.DestroyWindow();
    form.SetEnvelope(nullptr);
  } else {
    window->DestroyWindow();
  }
  dialog->Forget();
  delete dialog;
  return code;
}

bool CQzuEnvelopeDialog::PostEnd(QDialog* envelope) {
  if (!envelope) return false;
  QCoreApplication::postEvent(envelope, new QzuMessageEvent(qzu_win::kEnvelopeEndMessage, qzu_win::kEnvelopeEndCode, 0));
  return true;
}
