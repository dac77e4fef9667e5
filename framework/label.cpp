#include "framework/label.h"

#include <QLabel>
#include <QMouseEvent>

#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_label8, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_label8")

rg_label8::rg_label8() = default;

int rg_label8::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_label8, source)
  CopyWinControl(src);
  m_multiLine = src.m_multiLine;
  m_alignment = src.m_alignment;
  return 1;
}

void rg_label8::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteInt32(m_multiLine);
  s.WriteInt32(m_alignment);
}

void rg_label8::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  int32_t multi, align;
  if (!s.ReadInt32(multi) || !s.ReadInt32(align)) return;
  m_multiLine = multi;
  m_alignment = align;
  ApplyLayout();
}

QWidget* rg_label8::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void rg_label8::AfterCreate(const CQzuCreateParams& params) {
  CQzuWinControl::AfterCreate(params);
  ApplyLayout();
}

void rg_label8::SetMultiLine(bool multiLine) {
  m_multiLine = multiLine ? 1 : 0;
  ApplyLayout();
}

void rg_label8::SetAlignment(int alignment) {
  m_alignment = alignment;
  ApplyLayout();
}

void rg_label8::ApplyLayout() {
  auto* label = qobject_cast<QLabel*>(GetWidget());
  if (!label) return;
  Qt::Alignment h = m_alignment == kAlignCentre  ? Qt::AlignHCenter
                    : m_alignment == kAlignRight ? Qt::AlignRight
                                                 : Qt::AlignLeft;
  label->setWordWrap(m_multiLine != 0);
  label->setAlignment(h | (m_multiLine ? Qt::AlignTop : Qt::AlignVCenter));
}

void rg_label8::ApplyCaption(const CWString& caption) {
  auto* label = qobject_cast<QLabel*>(GetWidget());
  if (!label) return;
  QString text = ToQString(caption);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  label->setText(text);
}

CWString rg_label8::ReadCaption() const { return m_caption; }

bool rg_label8::HandleWindowEvent(QObject* watched, QEvent* event) {
  const bool swallowed = CQzuWinControl::HandleWindowEvent(watched, event);
  if (!swallowed && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && HasWindow())
    Raise(OnClick);
  return swallowed;
}

}  // namespace rg_Ombrine_MFCJieMian_base
