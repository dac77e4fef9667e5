#include "framework/hyperlink.h"

#include <QLabel>
#include <QMouseEvent>

#include "framework/qt_text.h"
#include "platform/hooks.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_hyperlink, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_hyperlink")

rg_hyperlink::rg_hyperlink() { m_textColour = 0xCC6600; }

int rg_hyperlink::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_hyperlink, source)
  CopyWinControl(src);
  m_address = src.m_address;
  return 1;
}

void rg_hyperlink::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteText(m_address);
}

void rg_hyperlink::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  CWString address;
  if (s.ReadText(address)) m_address = address;
}

QWidget* rg_hyperlink::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setCursor(Qt::PointingHandCursor);
  QFont f = label->font();
  f.setUnderline(true);
  label->setFont(f);
  return label;
}

void rg_hyperlink::ApplyCaption(const CWString& caption) {
  if (auto* label = qobject_cast<QLabel*>(GetWidget())) {
    label->setText(ToQString(caption));
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
  }
}

CWString rg_hyperlink::ReadCaption() const { return m_caption; }

bool rg_hyperlink::Open() {
  const CWString target = m_address.IsEmpty() ? m_caption : m_address;
  if (target.IsEmpty()) return false;
  return PlatformHooks().ShellOpen(target, CWString());
}

bool rg_hyperlink::HandleWindowEvent(QObject* watched, QEvent* event) {
  if (CQzuWinControl::HandleWindowEvent(watched, event)) return true;
  if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    CQzuRef<CMfcWndObject> window = m_window;
    if (Raise(OnClick) == 0 && window->Owner() == this) Open();
    return true;
  }
  return false;
}

}  // namespace rg_Ombrine_MFCJieMian_base
