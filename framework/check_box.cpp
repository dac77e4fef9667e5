#include "framework/check_box.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>

#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(CQzuCheckableControl, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::CQzuCheckableControl")
QZU_IMPLEMENT_CLASS(rg_check_box, CQzuCheckableControl, "rg_Ombrine_MFCJieMian_base::rg_check_box")
QZU_IMPLEMENT_CLASS(rg_radio_box, CQzuCheckableControl, "rg_Ombrine_MFCJieMian_base::rg_radio_box")

CQzuCheckableControl::CQzuCheckableControl() { m_style = qzu_win::kWsTabStop; }

bool CQzuCheckableControl::IsEqual(const CQzuObject& other) const {
  return CQzuWinControl::IsEqual(other) && GetChecked() == static_cast<const CQzuCheckableControl&>(other).GetChecked();
}

int CQzuCheckableControl::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(CQzuCheckableControl, source)
  CopyWinControl(src);
  m_checked = src.GetChecked() ? 1 : 0;
  return 1;
}

void CQzuCheckableControl::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteInt32(GetChecked() ? 1 : 0);
}

void CQzuCheckableControl::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t checked;
  if (s.ReadInt32(checked)) SetChecked(checked != 0);
}

void CQzuCheckableControl::WireClicks(QWidget* widget) {
  auto* button = static_cast<QAbstractButton*>(widget);
  QObject::connect(button, &QAbstractButton::clicked, button, [this, button] {
    if (GetWidget() != button || m_window->Owner() != this) return;
    m_checked = button->isChecked() ? 1 : 0;
    Raise(OnClick);
  });
  QObject::connect(button, &QAbstractButton::toggled, button, [this, button](bool on) {
    if (GetWidget() == button && m_window->Owner() == this) m_checked = on ? 1 : 0;
  });
}

void CQzuCheckableControl::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) b->setChecked(m_checked != 0);
}

void CQzuCheckableControl::SetChecked(bool checked) {
  m_checked = checked ? 1 : 0;
  auto* b = qobject_cast<QAbstractButton*>(GetWidget());
  if (!b) return;
  if (!checked && b->autoExclusive() && b->isChecked()) {
    // Qt refuses to uncheck the checked member of a group directly.
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  } else {
    b->setChecked(checked);
  }
}

bool CQzuCheckableControl::GetChecked() const {
  if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) return b->isChecked();
  return m_checked != 0;
}

void CQzuCheckableControl::ApplyCaption(const CWString& caption) {
  if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) b->setText(ToQString(caption));
}

CWString CQzuCheckableControl::ReadCaption() const {
  if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) return FromQString(b->text());
  return m_caption;
}

intptr_t CQzuCheckableControl::HandleMessage(int message, intptr_t wParam, intptr_t lParam) {
  const intptr_t r = CQzuWinControl::HandleMessage(message, wParam, lParam);
  switch (message) {
    case 0xF0:
      return GetChecked() ? 1 : 0;
    case 0xF1:
      SetChecked(wParam != 0);
      return 0;
    case 0xF5:
      if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) b->click();
      return 0;
    default:
      return r;
  }
}

int rg_check_box::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(rg_check_box::StaticClassInfo())) return 0;
  return CQzuCheckableControl::CopyFrom(source);
}

QWidget* rg_check_box::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* box = new QCheckBox(parent);
  WireClicks(box);
  return box;
}

int rg_radio_box::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(rg_radio_box::StaticClassInfo())) return 0;
  return CQzuCheckableControl::CopyFrom(source);
}

QWidget* rg_radio_box::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* radio = new QRadioButton(parent);  // auto-exclusive among its siblings
  WireClicks(radio);
  return radio;
}

}  // namespace rg_Ombrine_MFCJieMian_base
