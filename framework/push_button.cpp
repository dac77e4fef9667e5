#include "framework/push_button.h"

#include <QPushButton>

#include "common/dpi.h"
#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_button, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_button")

rg_button::rg_button() { m_style = qzu_win::kWsTabStop; }

int rg_button::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_button, source)
  CopyWinControl(src);
  return 1;
}

QWidget* rg_button::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* button = new QPushButton(parent);
  QObject::connect(button, &QPushButton::clicked, button, [this, button] {
    if (GetWidget() == button && m_window->Owner() == this) Raise(OnClick);
  });
  return button;
}

void rg_button::Click() {
  if (auto* b = qobject_cast<QPushButton*>(GetWidget())) b->click();
}

void rg_button::ApplyCaption(const CWString& caption) {
  if (auto* b = qobject_cast<QPushButton*>(GetWidget())) b->setText(ToQString(caption));
}

CWString rg_button::ReadCaption() const {
  if (auto* b = qobject_cast<QPushButton*>(GetWidget())) return FromQString(b->text());
  return m_caption;
}

}  // namespace rg_Ombrine_MFCJieMian_base
