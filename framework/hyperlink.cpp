#include "framework/hyperlink.h"

#include <QLabel>
#include <QMouseEvent>

#include "framework/colorref.h"
#include "framework/qt_text.h"
#include "platform/shell_open.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_hyperlink, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_hyperlink")

rg_hyperlink::rg_hyperlink() { m_textColour = 0xCC6600; }

int rg_hyperlink::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_hyperlink, source)
  CopyWinControl(src);
  m_address = src.m_address;
  m_visitedColour = src.m_visitedColour;
  m_hoverColour = src.m_hoverColour;
  m_visited = src.m_visited;
  m_openOnPress = src.m_openOnPress;
  return 1;
}

void rg_hyperlink::SaveToStream(CQzuStream& s) const {
  CQzuWinControl::SaveToStream(s);
  s.WriteText(m_address);
  s.WriteUInt32(m_visitedColour);
  s.WriteUInt32(m_hoverColour);
  s.WriteInt32(m_openOnPress);
}

void rg_hyperlink::LoadFromStream(CQzuStream& s) {
  CQzuWinControl::LoadFromStream(s);
  CWString address;
  uint32_t visited, hover;
  int32_t onPress;
  if (!s.ReadText(address) || !s.ReadUInt32(visited) || !s.ReadUInt32(hover) || !s.ReadInt32(onPress)) return;
  m_address = address;
  m_openOnPress = onPress;
  SetLinkColours(m_textColour, visited, hover);
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

void rg_hyperlink::SetLinkColours(COLORREF normal, COLORREF visited, COLORREF hover) {
  m_visitedColour = visited;
  m_hoverColour = hover;
  SetTextColour(normal);  // applies the colours when the window exists
}

COLORREF rg_hyperlink::GetShownColour() const {
  if (m_hovered && m_hoverColour != kDefaultColour) return m_hoverColour;
  if (m_visited && m_visitedColour != kDefaultColour) return m_visitedColour;
  return m_textColour;
}

void rg_hyperlink::ApplyColours() {
  CQzuWinControl::ApplyColours();
  QWidget* w = GetWidget();
  const COLORREF shown = GetShownColour();
  if (!w || shown == kDefaultColour) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, QColorFromRef(shown));
  w->setPalette(pal);
}

CWString rg_hyperlink::LinkTarget() const { return m_address.IsEmpty() ? m_caption : m_address; }

bool rg_hyperlink::Open() {
  const CWString target = LinkTarget();
  if (target.IsEmpty() || !OpenAddress(target, CWString())) return false;
  m_visited = 1;
  ApplyColours();
  return true;
}

void rg_hyperlink::Activate() {
  CQzuRef<CMfcWndObject> window = m_window;
  if (Raise(OnClick) == 0 && window->Owner() == this) Open();
}

bool rg_hyperlink::HandleWindowEvent(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == GetWidget() && (type == QEvent::Enter || type == QEvent::Leave)) {
    m_hovered = type == QEvent::Enter;
    ApplyColours();
  }
  if (CQzuWinControl::HandleWindowEvent(watched, event)) return true;
  const bool left = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) &&
                    static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
  if (!left || (type == QEvent::MouseButtonPress) != (m_openOnPress != 0)) return false;
  Activate();
  return true;
}

}  // namespace rg_Ombrine_MFCJieMian_base
