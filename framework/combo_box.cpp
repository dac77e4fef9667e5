#include "framework/combo_box.h"

#include <QComboBox>
#include <QLineEdit>

#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_combo_box, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_combo_box")

rg_combo_box::rg_combo_box() { m_style = qzu_win::kWsTabStop | kCbsDropDownList; }

bool rg_combo_box::IsEqual(const CQzuObject& other) const {
  const auto& o = static_cast<const rg_combo_box&>(other);
  return CQzuWinControl::IsEqual(other) && m_items == o.m_items && GetCurSel() == o.GetCurSel();
}

int rg_combo_box::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_combo_box, source)
  CopyWinControl(src);
  m_items = src.m_items;
  m_curSel = src.GetCurSel();
  return 1;
}

void rg_combo_box::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  m_items.SaveToStream(s);
  s.WriteInt32(GetCurSel());
}

void rg_combo_box::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  CMStringArray items;
  items.LoadFromStream(s);
  int32_t sel;
  if (!s.ReadInt32(sel)) return;
  ResetContent();
  for (const CWString& item : items) AddItem(item);
  SetCurSel(sel);
}

QWidget* rg_combo_box::CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable((params.style & 0x3) == kCbsDropDown);
  QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [this, combo](int index) {
    if (GetWidget() != combo || m_window->Owner() != this) return;
    m_curSel = index;
    Raise(OnSelChange);
  });
  QObject::connect(combo, &QComboBox::editTextChanged, combo, [this, combo] {
    if (GetWidget() == combo && m_window->Owner() == this && combo->isEditable()) Raise(OnTextChanged);
  });
  return combo;
}

std::vector<QObject*> rg_combo_box::WatchedParts(QWidget* widget) {
  auto* combo = static_cast<QComboBox*>(widget);
  if (combo->lineEdit()) return {combo->lineEdit()};
  return {};
}

void rg_combo_box::AfterCreate(const CQzuCreateParams& params) {
  auto* combo = static_cast<QComboBox*>(GetWidget());
  for (const CWString& item : m_items) combo->addItem(ToQString(item));
  combo->setCurrentIndex(m_curSel);
  CQzuWinControl::AfterCreate(params);
}

int rg_combo_box::AddItem(const CWString& text) {
  m_items.Add(text);
  if (auto* combo = qobject_cast<QComboBox*>(GetWidget())) {
    const int keep = combo->currentIndex();
    combo->addItem(ToQString(text));
    combo->setCurrentIndex(keep);
  }
  return m_items.GetCount() - 1;
}

void rg_combo_box::ResetContent() {
  m_items.Empty();
  m_curSel = -1;
  if (auto* combo = qobject_cast<QComboBox*>(GetWidget())) combo->clear();
}

CWString rg_combo_box::GetItemText(int index) const {
  if (index < 0 || index >= m_items.GetCount()) return CWString();
  return m_items[static_cast<size_t>(index)];
}

void rg_combo_box::SetCurSel(int index) {
  m_curSel = (index >= 0 && index < m_items.GetCount()) ? index : -1;
  if (auto* combo = qobject_cast<QComboBox*>(GetWidget())) combo->setCurrentIndex(m_curSel);
}

int rg_combo_box::GetCurSel() const {
  if (auto* combo = qobject_cast<QComboBox*>(GetWidget())) return combo->currentIndex();
  return m_curSel;
}

void rg_combo_box::ApplyCaption(const CWString& caption) {
  auto* combo = qobject_cast<QComboBox*>(GetWidget());
  if (!combo) return;
  if (combo->isEditable()) {
    combo->setEditText(ToQString(caption));
  } else {
    const int found = combo->findText(ToQString(caption));
    if (found >= 0) combo->setCurrentIndex(found);
  }
}

CWString rg_combo_box::ReadCaption() const {
  if (auto* combo = qobject_cast<QComboBox*>(GetWidget())) return FromQString(combo->currentText());
  if (IsEditable()) return m_caption;
  return GetItemText(m_curSel);
}

}  // namespace rg_Ombrine_MFCJieMian_base
