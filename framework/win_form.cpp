#include "framework/win_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>

#include <algorithm>

#include "common/dpi.h"
#include "framework/envelope_dialog.h"
#include "framework/screen_area.h"
#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(CQzuWinForm, rg_ZuJianBuJuQi, "rg_Ombrine_MFCJieMian_base::CQzuWinForm")

namespace {
// Posted to itself when the form is first shown, for platforms that never
// activate a window (offscreen, a display without a window manager).
constexpr int kFirstActivationMessage = 0xA002;
}  // namespace

CQzuWinForm::CQzuWinForm() = default;

int CQzuWinForm::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(CQzuWinForm, source)
  CopyWinControl(src);
  m_borderStyle = src.m_borderStyle;
  m_minimiseBox = src.m_minimiseBox;
  m_maximiseBox = src.m_maximiseBox;
  m_escCloses = src.m_escCloses;
  m_centredOnScreen = src.m_centredOnScreen;
  return 1;
}

void CQzuWinForm::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  if (!s.Ok()) return;
  for (int32_t v : {m_borderStyle, m_minimiseBox, m_maximiseBox, m_escCloses}) s.WriteInt32(v);
}

void CQzuWinForm::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t border, minimise, maximise, esc;
  if (!s.ReadInt32(border) || !s.ReadInt32(minimise) || !s.ReadInt32(maximise) || !s.ReadInt32(esc)) return;
  m_borderStyle = border;
  m_minimiseBox = minimise;
  m_maximiseBox = maximise;
  m_escCloses = esc;
}

int CQzuWinForm::DefaultWidth() const { return ScaleByDpiFactor(640); }
int CQzuWinForm::DefaultHeight() const { return ScaleByDpiFactor(480); }

void CQzuWinForm::SetTopMost(bool topMost) {
  if (topMost) m_exStyle |= qzu_win::kWsExTopmost;
  else m_exStyle &= ~qzu_win::kWsExTopmost;
  if (QWidget* w = GetWidget(); w && w->isWindow()) {
    w->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    w->show();
  }
}

int CQzuWinForm::CreateForm(CQzuWinControl* owner, int x, int y, int width, int height, int id) {
  if (HasWindow()) return 0;
  m_ownerWidget = owner ? owner->GetWidget() : nullptr;
  m_firstActivationDone = false;
  return Create(nullptr, x, y, width, height, id);
}

int CQzuWinForm::CreateModal(CQzuWinControl* owner, int width, int height, int id) {
  m_firstActivationDone = false;
  return CQzuEnvelopeDialog::RunModal(*this, owner, width, height, id);
}

QWidget* CQzuWinForm::CreateNativeWidget(const CQzuCreateParams&, QWidget*) {
  if (m_envelope) return new QWidget(m_envelope);
  Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (m_minimiseBox) flags |= Qt::WindowMinimizeButtonHint;
  if (m_maximiseBox && m_borderStyle == 1) flags |= Qt::WindowMaximizeButtonHint;
  return new QWidget(m_ownerWidget.data(), flags);
}

void CQzuWinForm::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  QWidget* w = GetWidget();
  if (!m_envelope && m_borderStyle != 1) w->setFixedSize(w->size());
  if (params.x == qzu_win::kCwUseDefault || params.y == qzu_win::kCwUseDefault) {
    if (m_centredOnScreen) CentreOnScreen();
    else CentreOverOwner();
  }
  if (m_escCloses) {
    auto* esc = new QAction(w);
    esc->setShortcut(QKeySequence(Qt::Key_Escape));
    esc->setShortcutContext(Qt::WindowShortcut);
    CQzuRef<CMfcWndObject> window = m_window;
    QObject::connect(esc, &QAction::triggered, w, [this, window] {
      if (window->Owner() == this) PostMessage(qzu_win::kWmClose);
    });
    w->addAction(esc);
  }
}

void CQzuWinForm::CentreOnScreen() {
  QWidget* w = GetWidget();
  if (!w || m_envelope || !w->isWindow()) return;
  const QRect area = AvailableScreenArea();
  if (area.isEmpty()) return;
  // Before the window is shown the frame is not known yet: the client size
  // stands for it.
  const QSize size = w->frameGeometry().size();
  const int x = std::max(area.x(), area.x() + (area.width() - size.width()) / 2);
  const int y = std::max(area.y(), area.y() + (area.height() - size.height()) / 2);
  w->move(x, y);
}

void CQzuWinForm::CentreOverOwner() {
  QWidget* w = GetWidget();
  if (!w || m_envelope || !w->isWindow() || !m_ownerWidget) return;
  const QWidget* owner = m_ownerWidget->window();
  if (!owner->isVisible()) return;
  const QSize size = w->frameGeometry().size();
  QPoint at = owner->frameGeometry().center() - QPoint(size.width() / 2, size.height() / 2);
  const QRect area = AvailableScreenArea();
  if (!area.isEmpty()) {
    // Kept inside the screen's area, its top left first when it is larger.
    at.setX(std::max(area.x(), std::min(at.x(), area.x() + area.width() - size.width())));
    at.setY(std::max(area.y(), std::min(at.y(), area.y() + area.height() - size.height())));
  }
  w->move(at);
}

void CQzuWinForm::ApplyCaption(const CWString& caption) {
  if (m_envelope) m_envelope->setWindowTitle(ToQString(caption));
  else CQzuWinControl::ApplyCaption(caption);
}

CWString CQzuWinForm::ReadCaption() const {
  if (m_envelope) return FromQString(m_envelope->windowTitle());
  return CQzuWinControl::ReadCaption();
}

bool CQzuWinForm::QueryClose() { return Raise(OnCloseQuery) == 0; }

void CQzuWinForm::CloseForm() {
  if (!HasWindow()) return;
  if (m_envelope) CQzuEnvelopeDialog::PostEnd(m_envelope);
  else PostMessage(qzu_win::kWmClose);
}

void CQzuWinForm::RaiseFirstActivation() {
  if (m_firstActivationDone) return;
  m_firstActivationDone = true;
  Raise(OnFirstActivation);
}

intptr_t CQzuWinForm::HandleMessage(int message, intptr_t wParam, intptr_t lParam) {
  if (message == kFirstActivationMessage) {
    RaiseFirstActivation();
    return 0;
  }
  if (message == qzu_win::kWmClose && m_envelope) {
    if (Raise(OnMessage, message, wParam, lParam) != 0) return 0;
    if (QueryClose() && m_envelope) m_envelope->done(0);
    return 0;
  }
  return CQzuWinControl::HandleMessage(message, wParam, lParam);
}

bool CQzuWinForm::HandleWindowEvent(QObject* watched, QEvent* event) {
  QWidget* self = GetWidget();
  if (self && watched == self) {
    switch (event->type()) {
      case QEvent::Close: {
        if (!QueryClose()) {
          event->ignore();
          return true;
        }
        event->accept();
        DestroyWindow();
        return true;
      }
      case QEvent::WindowActivate: {
        CQzuRef<CMfcWndObject> window = m_window;
        Raise(OnActivate, 1);
        if (StillOwnsWindow(window)) RaiseFirstActivation();
        return false;
      }
      case QEvent::WindowDeactivate:
        Raise(OnActivate, 0);
        return false;
      case QEvent::Show:
        if (!m_firstActivationDone) PostMessage(kFirstActivationMessage);
        break;
      default:
        break;
    }
  }
  return CQzuWinControl::HandleWindowEvent(watched, event);
}

}  // namespace rg_Ombrine_MFCJieMian_base
