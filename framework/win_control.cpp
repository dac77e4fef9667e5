#include "framework/win_control.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QUrl>
#include <QWheelEvent>

#include "common/dpi.h"
#include "framework/colorref.h"
#include "framework/font_text.h"
#include "framework/key_translation.h"
#include "framework/tool_tip_style.h"
#include "framework/ui_thread.h"
#include "framework/window_message.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(CQzuWinControl, CQzuObject, "rg_Ombrine_MFCJieMian_base::CQzuWinControl")

CQzuWinControl::CQzuWinControl() : m_window(CQzuRef<CMfcWndObject>::Make()) {}

CQzuWinControl::~CQzuWinControl() {
  // Copies may still share the window: they keep it, but no events reach
  // this object any more.
  if (m_window && m_window->Owner() == this) m_window->SetOwner(nullptr);
}

bool CQzuWinControl::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const CQzuWinControl&>(other);
  return m_window == o.m_window && m_text == o.m_text;
}

void CQzuWinControl::CopyWinControl(const CQzuWinControl& src) {
  if (&src == this) return;
  if (m_window != src.m_window && m_window->Owner() == this) m_window->SetOwner(nullptr);
  m_window = src.m_window;
  m_text = src.m_text;
  m_caption = src.ReadCaption();
  m_fontText = src.m_fontText;
  m_toolTip = src.m_toolTip;
  m_id = src.m_id;
  m_left = src.GetLeft();
  m_top = src.GetTop();
  m_width = src.GetWidth();
  m_height = src.GetHeight();
  m_style = src.m_style;
  m_exStyle = src.m_exStyle;
  m_visible = src.m_visible;
  m_enabled = src.m_enabled;
  m_backColour = src.m_backColour;
  m_textColour = src.m_textColour;
  m_toolTipColour = src.m_toolTipColour;
  m_toolTipMargin = src.m_toolTipMargin;
  m_acceptFiles = src.m_acceptFiles;
  m_ownContextMenu = src.m_ownContextMenu;
  m_cursorShape = src.m_cursorShape;
}

int CQzuWinControl::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(CQzuWinControl, source)
  CopyWinControl(src);
  return 1;
}

void CQzuWinControl::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  s.WriteText(GetCaption());
  s.WriteText(m_fontText);
  s.WriteText(m_toolTip);
  for (int32_t v : {m_id, GetLeft(), GetTop(), GetWidth(), GetHeight()}) s.WriteInt32(v);
  s.WriteUInt32(m_style);
  s.WriteUInt32(m_exStyle);
  s.WriteInt32(m_visible);
  s.WriteInt32(m_enabled);
  s.WriteUInt32(m_backColour);
  s.WriteUInt32(m_textColour);
}

void CQzuWinControl::LoadFromStream(CQzuStream& s) {
  CWString text, caption, font, tip;
  int32_t id, left, top, width, height, visible, enabled;
  uint32_t style, exStyle, back, fore;
  if (!s.ReadText(text) || !s.ReadText(caption) || !s.ReadText(font) || !s.ReadText(tip)) return;
  if (!s.ReadInt32(id) || !s.ReadInt32(left) || !s.ReadInt32(top) || !s.ReadInt32(width) ||
      !s.ReadInt32(height) || !s.ReadUInt32(style) || !s.ReadUInt32(exStyle) || !s.ReadInt32(visible) ||
      !s.ReadInt32(enabled) || !s.ReadUInt32(back) || !s.ReadUInt32(fore))
    return;
  m_text = text;
  m_id = id;
  m_style = style;
  m_exStyle = exStyle;
  SetCaption(caption);
  SetFontText(font);
  SetToolTip(tip);
  Move(left, top, width, height);
  SetVisible(visible != 0);
  SetEnabled(enabled != 0);
  SetBackColour(back);
  SetTextColour(fore);
}

void CQzuWinControl::ReplaceWindowObject(std::unique_ptr<CVWnd> wnd) {
  if (m_window->Owner() == this) m_window->SetOwner(nullptr);
  m_window = CQzuRef<CMfcWndObject>::Make(std::move(wnd));
}

CQzuWinControl* CQzuWinControl::FromWidget(const QWidget* widget) {
  CMfcWndObject* holder = CMfcWndObject::FromObject(widget);
  return holder ? holder->Owner() : nullptr;
}

CQzuWinControl* CQzuWinControl::GetParentControl() const {
  QWidget* w = GetWidget();
  return w ? FromWidget(w->parentWidget()) : nullptr;
}

namespace {

// The window being re-parented, while SetParentControl runs (UI thread only).
QPointer<QWidget> g_reparenting;

bool InsideReparenting(QObject* watched) {
  auto* w = qobject_cast<QWidget*>(watched);
  return w && g_reparenting && (w == g_reparenting || g_reparenting->isAncestorOf(w));
}

}  // namespace

bool CQzuWinControl::SetParentControl(CQzuWinControl* parent) {
  QWidget* w = GetWidget();
  QWidget* p = parent ? parent->GetWidget() : nullptr;
  if (!w || !p || p == w || w->isAncestorOf(p)) return false;
  QPointer<QWidget> focus = QApplication::focusWidget();
  const bool keepFocus = focus && (focus == w || w->isAncestorOf(focus));
  const bool shown = !w->isHidden();
  const QRect geometry = w->geometry();
  QPointer<QWidget> outer = g_reparenting;
  g_reparenting = w;
  // Let go of the focus first: a hidden focus widget would hand it on to
  // the next control in the window, which would see a focus it never asked for.
  if (keepFocus) focus->clearFocus();
  w->setParent(p);
  w->setGeometry(geometry);
  if (shown) w->show();
  if (keepFocus && focus) focus->setFocus(Qt::OtherFocusReason);
  g_reparenting = outer;
  return true;
}

int CQzuWinControl::DefaultWidth() const { return ScaleByDpiFactor(100); }
int CQzuWinControl::DefaultHeight() const { return ScaleByDpiFactor(24); }

void CQzuWinControl::PrepareCreateParams(CQzuCreateParams&) {}

QWidget* CQzuWinControl::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) { return new QWidget(parent); }

std::vector<QObject*> CQzuWinControl::WatchedParts(QWidget*) { return {}; }

int CQzuWinControl::Create(CQzuWinControl* parent, int x, int y, int width, int height, int id,
                           const CWString& caption, uint32_t style, uint32_t exStyle) {
  if (HasWindow()) return 0;
  QWidget* parentWidget = nullptr;
  if (parent) {
    parentWidget = parent->GetWidget();
    if (!parentWidget) return 0;
  }
  CQzuCreateParams p;
  p.parent = parent;
  p.x = x;
  p.y = y;
  p.width = width;
  p.height = height;
  p.id = id;
  p.caption = caption.IsEmpty() ? m_caption : caption;
  p.style = m_style | style;
  p.exStyle = m_exStyle | exStyle;
  PrepareCreateParams(p);
  if (p.width == qzu_win::kCwUseDefault || p.width < 0) p.width = DefaultWidth();
  if (p.height == qzu_win::kCwUseDefault || p.height < 0) p.height = DefaultHeight();

  QWidget* w = CreateNativeWidget(p, parentWidget);
  if (!w) return 0;
  m_window->SetOwner(this);
  const std::vector<QObject*> parts = WatchedParts(w);
  m_window->AttachWidget(w, parts);
  for (QObject* part : parts)
    if (auto* pw = qobject_cast<QWidget*>(part)) pw->setMouseTracking(true);
  CQzuRef<CMfcWndObject> window = m_window;

  m_id = p.id;
  m_style = p.style;
  m_exStyle = p.exStyle;
  m_caption = p.caption;
  if (p.style & qzu_win::kWsVisible) m_visible = 1;
  if (p.style & qzu_win::kWsDisabled) m_enabled = 0;
  w->setMouseTracking(true);
  if (p.style & qzu_win::kWsTabStop) w->setFocusPolicy(Qt::StrongFocus);
  const bool defaultPos = p.x == qzu_win::kCwUseDefault || p.y == qzu_win::kCwUseDefault;
  m_width = p.width;
  m_height = p.height;
  if (defaultPos && !parentWidget) {
    w->resize(p.width, p.height);
    m_left = w->x();
    m_top = w->y();
  } else {
    m_left = defaultPos ? 0 : p.x;
    m_top = defaultPos ? 0 : p.y;
    w->setGeometry(m_left, m_top, m_width, m_height);
  }
  if (p.exStyle & qzu_win::kWsExTopmost) w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  AfterCreate(p);
  if (!StillOwnsWindow(window)) return 0;
  CreateChildren();
  if (!StillOwnsWindow(window)) return 0;
  Raise(OnCreated);
  if (!StillOwnsWindow(window)) return 0;
  // A child left unshown would still appear with its parent: hide it.
  if (m_visible) w->show();
  else w->hide();
  return 1;
}

void CQzuWinControl::AfterCreate(const CQzuCreateParams& params) {
  QWidget* w = GetWidget();
  ApplyFont();
  ApplyColours();
  if (!m_toolTip.IsEmpty()) w->setToolTip(QString::fromUtf16(m_toolTip.GetBuffer(), m_toolTip.Length()));
  w->setEnabled(m_enabled != 0);
  w->setAcceptDrops(m_acceptFiles != 0);
  if (m_ownContextMenu) w->setContextMenuPolicy(Qt::PreventContextMenu);
  if (m_cursorShape != kCursorDefault) ApplyCursor();
  ApplyCaption(params.caption);
}

void CQzuWinControl::DestroyWindow() {
  // The handler may destroy the window itself (or this control's copy of it).
  CQzuRef<CMfcWndObject> window = m_window;
  if (window->HasWindow()) Raise(OnDestroyed);
  window->DestroyWindow();
}

void CQzuWinControl::WindowDestroyed() { Raise(OnDestroyed); }

void CQzuWinControl::KeepWindowValues() {
  if (HasWindow()) m_caption = ReadCaption();
}

bool CQzuWinControl::StillOwnsWindow(const CQzuRef<CMfcWndObject>& window) const {
  return window == m_window && window->Owner() == this && window->HasWindow();
}

// ---- geometry ----

void CQzuWinControl::Move(int x, int y, int width, int height) {
  m_left = x;
  m_top = y;
  m_width = width < 0 ? 0 : width;
  m_height = height < 0 ? 0 : height;
  if (QWidget* w = GetWidget()) {
    if (w->isWindow()) {
      w->move(m_left, m_top);
      w->resize(m_width, m_height);
    } else {
      w->setGeometry(m_left, m_top, m_width, m_height);
    }
  }
}

int CQzuWinControl::GetLeft() const { return GetWidget() ? GetWidget()->x() : m_left; }
int CQzuWinControl::GetTop() const { return GetWidget() ? GetWidget()->y() : m_top; }
int CQzuWinControl::GetWidth() const { return GetWidget() ? GetWidget()->width() : m_width; }
int CQzuWinControl::GetHeight() const { return GetWidget() ? GetWidget()->height() : m_height; }
int CQzuWinControl::GetClientWidth() const { return GetWidget() ? GetWidget()->width() : 0; }
int CQzuWinControl::GetClientHeight() const { return GetWidget() ? GetWidget()->height() : 0; }

bool CQzuWinControl::GetWindowRect(int& left, int& top, int& right, int& bottom) const {
  QWidget* w = GetWidget();
  if (!w) {
    left = top = right = bottom = 0;
    return false;
  }
  const QPoint origin = w->mapToGlobal(QPoint(0, 0));
  left = origin.x();
  top = origin.y();
  right = left + w->width();
  bottom = top + w->height();
  return true;
}

void CQzuWinControl::ClientToScreen(int& x, int& y) const {
  if (QWidget* w = GetWidget()) {
    const QPoint p = w->mapToGlobal(QPoint(x, y));
    x = p.x();
    y = p.y();
  }
}

void CQzuWinControl::ScreenToClient(int& x, int& y) const {
  if (QWidget* w = GetWidget()) {
    const QPoint p = w->mapFromGlobal(QPoint(x, y));
    x = p.x();
    y = p.y();
  }
}

// ---- looks and state ----

void CQzuWinControl::SetCaption(const CWString& caption) {
  m_caption = caption;
  if (HasWindow()) ApplyCaption(caption);
}

CWString CQzuWinControl::GetCaption() const { return HasWindow() ? ReadCaption() : m_caption; }

void CQzuWinControl::ApplyCaption(const CWString& caption) {
  QWidget* w = GetWidget();
  if (w && w->isWindow()) w->setWindowTitle(QString::fromUtf16(caption.GetBuffer(), caption.Length()));
}

CWString CQzuWinControl::ReadCaption() const {
  QWidget* w = GetWidget();
  if (w && w->isWindow()) {
    const QString t = w->windowTitle();
    return CWString(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
  }
  return m_caption;
}

void CQzuWinControl::SetFontText(const CWString& description) {
  m_fontText = description;
  if (HasWindow()) ApplyFont();
}

void CQzuWinControl::ApplyFont() {
  if (QWidget* w = GetWidget()) w->setFont(m_fontText.IsEmpty() ? DefaultControlFont() : QFontFromDescription(m_fontText));
}

void CQzuWinControl::SetToolTip(const CWString& text) {
  m_toolTip = text;
  if (QWidget* w = GetWidget()) w->setToolTip(QString::fromUtf16(text.GetBuffer(), text.Length()));
}

void CQzuWinControl::SetToolTipStyle(COLORREF textColour, int margin) {
  m_toolTipColour = textColour;
  m_toolTipMargin = margin;
}

void CQzuWinControl::SetBackColour(COLORREF colour) {
  m_backColour = colour;
  if (HasWindow()) ApplyColours();
}

void CQzuWinControl::SetTextColour(COLORREF colour) {
  m_textColour = colour;
  if (HasWindow()) ApplyColours();
}

void CQzuWinControl::ApplyColours() {
  QWidget* w = GetWidget();
  if (!w) return;
  QPalette pal = w->palette();
  if (m_backColour != kDefaultColour) {
    const QColor c = m_backColour == kButtonFaceSentinel ? QColorFromRef(0xF0F0F0) : QColorFromRef(m_backColour);
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Button, c);
    w->setAutoFillBackground(true);
  }
  if (m_textColour != kDefaultColour) {
    const QColor c = QColorFromRef(m_textColour);
    pal.setColor(QPalette::WindowText, c);
    pal.setColor(QPalette::Text, c);
    pal.setColor(QPalette::ButtonText, c);
  }
  w->setPalette(pal);
}

void CQzuWinControl::SetCursorShape(int32_t shape) {
  m_cursorShape = shape;
  ApplyCursor();
}

void CQzuWinControl::ApplyCursor() {
  QWidget* w = GetWidget();
  if (!w) return;
  // Qt updates the pointer at once when it is over the widget, which is
  // what re-setting the cursor at its own position achieves on Windows.
  switch (m_cursorShape) {
    case kCursorArrow: w->setCursor(Qt::ArrowCursor); break;
    case kCursorHand: w->setCursor(Qt::PointingHandCursor); break;
    case kCursorIBeam: w->setCursor(Qt::IBeamCursor); break;
    case kCursorWait: w->setCursor(Qt::WaitCursor); break;
    case kCursorCross: w->setCursor(Qt::CrossCursor); break;
    default: w->unsetCursor(); break;
  }
}

void CQzuWinControl::SetVisible(bool visible) {
  m_visible = visible ? 1 : 0;
  if (QWidget* w = GetWidget()) w->setVisible(visible);
}

bool CQzuWinControl::IsVisible() const {
  QWidget* w = GetWidget();
  return w ? !w->isHidden() : m_visible != 0;
}

void CQzuWinControl::SetEnabled(bool enabled) {
  m_enabled = enabled ? 1 : 0;
  if (QWidget* w = GetWidget()) w->setEnabled(enabled);
}

void CQzuWinControl::SetFocus() {
  if (QWidget* w = GetWidget()) w->setFocus(Qt::OtherFocusReason);
}

bool CQzuWinControl::HasFocus() const {
  QWidget* w = GetWidget();
  if (!w) return false;
  QWidget* f = QApplication::focusWidget();
  return f && (f == w || w->focusProxy() == f || f->focusProxy() == w);
}

void CQzuWinControl::Invalidate() {
  if (QWidget* w = GetWidget()) w->update();
}

void CQzuWinControl::BringToTop() {
  if (QWidget* w = GetWidget()) {
    w->raise();
    if (w->isWindow()) w->activateWindow();
  }
}

void CQzuWinControl::SendToBottom() {
  if (QWidget* w = GetWidget()) w->lower();
}

void CQzuWinControl::SetOwnContextMenu(bool own) {
  m_ownContextMenu = own ? 1 : 0;
  // Prevent, not NoContextMenu: an ignored request would travel on to the
  // parent and open whatever menu that has.
  if (QWidget* w = GetWidget()) w->setContextMenuPolicy(own ? Qt::PreventContextMenu : Qt::DefaultContextMenu);
}

void CQzuWinControl::AcceptFiles(bool accept) {
  m_acceptFiles = accept ? 1 : 0;
  if (QWidget* w = GetWidget()) w->setAcceptDrops(accept);
}

// ---- messages ----

bool CQzuWinControl::PostMessage(int message, intptr_t wParam, intptr_t lParam) {
  if (!IsUiThread()) {
    // The widget belongs to the UI thread: hand the message over with the
    // window holder, and let the UI thread find out whether the window and
    // its owner are still there when the message comes up.
    if (!HasWindow()) return false;
    CQzuRef<CMfcWndObject> window = m_window;
    PostToUiThread([window, message, wParam, lParam] {
      CQzuWinControl* owner = window->Owner();
      if (owner && window->HasWindow() && owner->GetWindowObject() == window.Get())
        owner->HandleMessage(message, wParam, lParam);
    });
    return true;
  }
  QWidget* w = GetWidget();
  if (!w) return false;
  QCoreApplication::postEvent(w, new QzuMessageEvent(message, wParam, lParam));
  return true;
}

intptr_t CQzuWinControl::SendMessage(int message, intptr_t wParam, intptr_t lParam) {
  if (!HasWindow()) return 0;
  return HandleMessage(message, wParam, lParam);
}

intptr_t CQzuWinControl::HandleMessage(int message, intptr_t wParam, intptr_t lParam) {
  const intptr_t r = Raise(OnMessage, message, wParam, lParam);
  if (r) return r;
  if (message == qzu_win::kWmClose) {
    if (QWidget* w = GetWidget()) {
      if (w->isWindow()) w->close();
      else DestroyWindow();
    }
  }
  return 0;
}

// ---- events ----

QPoint CQzuWinControl::MapToClient(QObject* watched, const QPoint& p) const {
  QWidget* self = GetWidget();
  auto* from = qobject_cast<QWidget*>(watched);
  if (!self || !from || from == self) return p;
  return from->mapTo(self, p);
}

bool CQzuWinControl::HandleMouse(QObject* watched, QEvent* event) {
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint p = MapToClient(watched, me->position().toPoint());
  const int flags = ModifierFlagsFromQt(me->modifiers());
  intptr_t r = 0;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (me->button() == Qt::LeftButton) r = Raise(OnLeftDown, p.x(), p.y(), flags);
      else if (me->button() == Qt::RightButton) r = Raise(OnRightDown, p.x(), p.y(), flags);
      else if (me->button() == Qt::MiddleButton) r = Raise(OnMiddleDown, p.x(), p.y(), flags);
      break;
    case QEvent::MouseButtonRelease:
      if (me->button() == Qt::LeftButton) r = Raise(OnLeftUp, p.x(), p.y(), flags);
      else if (me->button() == Qt::RightButton) r = Raise(OnRightUp, p.x(), p.y(), flags);
      else if (me->button() == Qt::MiddleButton) r = Raise(OnMiddleUp, p.x(), p.y(), flags);
      break;
    case QEvent::MouseButtonDblClick:
      // The second press of a double click is the double click alone, as
      // on Windows; a right double click still presses the right button.
      if (me->button() == Qt::LeftButton) r = Raise(OnDoubleClick, p.x(), p.y(), flags);
      else if (me->button() == Qt::RightButton) r = Raise(OnRightDown, p.x(), p.y(), flags);
      else if (me->button() == Qt::MiddleButton) r = Raise(OnMiddleDown, p.x(), p.y(), flags);
      break;
    case QEvent::MouseMove:
      r = Raise(OnMouseMove, p.x(), p.y(), flags);
      break;
    default:
      break;
  }
  return r != 0;
}

bool CQzuWinControl::HandleKey(QEvent* event) {
  auto* ke = static_cast<QKeyEvent*>(event);
  const int vk = VirtualKeyFromQtKey(ke->key(), ke->modifiers());
  const int flags = ModifierFlagsFromQt(ke->modifiers());
  if (event->type() == QEvent::KeyRelease) return vk && Raise(OnKeyUp, vk, flags) != 0;
  if (vk && Raise(OnKeyDown, vk, flags) != 0) return true;
  const QString text = ke->text();
  if (!text.isEmpty() && text[0].unicode() >= 0x20 && Raise(OnChar, static_cast<int>(text[0].unicode()), flags) != 0)
    return true;
  return false;
}

bool CQzuWinControl::HandleDrop(QEvent* event) {
  if (!m_acceptFiles) return false;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* de = static_cast<QDropEvent*>(event);
    if (de->mimeData() && de->mimeData()->hasUrls()) {
      de->acceptProposedAction();
      return true;
    }
    return false;
  }
  auto* de = static_cast<QDropEvent*>(event);
  if (!de->mimeData() || !de->mimeData()->hasUrls()) return false;
  CMStringArray paths;
  for (const QUrl& url : de->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    paths.Add(CWString(reinterpret_cast<const char16_t*>(path.utf16()), static_cast<size_t>(path.size())));
  }
  de->acceptProposedAction();
  if (!paths.IsEmpty()) Raise(OnFilesDropped, paths);
  return true;
}

bool CQzuWinControl::ShowToolTip(QEvent* event) {
  if (m_toolTip.IsEmpty()) return false;
  auto* he = static_cast<QHelpEvent*>(event);
  ShowStyledToolTip(he->globalPos(), QString::fromUtf16(m_toolTip.GetBuffer(), m_toolTip.Length()), GetWidget(),
                    m_toolTipColour, m_toolTipMargin);
  return true;
}

namespace {

// Qt hands a mouse or key event that a child ignored on to its parent;
// Windows gives it to the window under the pointer (or with the focus)
// alone. The last input event raised is remembered so that its journey up
// to the ancestors raises nothing more.
struct InputSeen {
  QEvent::Type type = QEvent::None;
  quint64 timestamp = 0;
  int detail = 0;
  QPointer<QObject> target;
};

InputSeen g_lastInput;

int InputDetail(QEvent* e) {
  if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) return static_cast<QKeyEvent*>(e)->key();
  const QPointF g = static_cast<QMouseEvent*>(e)->globalPosition();
  return static_cast<int>(static_cast<QMouseEvent*>(e)->button()) * 7919 + static_cast<int>(g.x()) * 31 + static_cast<int>(g.y());
}

bool IsPropagatedInput(QObject* watched, QEvent* e) {
  auto* input = static_cast<QInputEvent*>(e);
  const int detail = InputDetail(e);
  auto* target = qobject_cast<QWidget*>(watched);
  auto* previous = qobject_cast<QWidget*>(g_lastInput.target.data());
  if (target && previous && previous != target && target->isAncestorOf(previous) && g_lastInput.type == e->type() &&
      g_lastInput.timestamp == input->timestamp() && g_lastInput.detail == detail)
    return true;
  g_lastInput.type = e->type();
  g_lastInput.timestamp = input->timestamp();
  g_lastInput.detail = detail;
  g_lastInput.target = watched;
  return false;
}

}  // namespace

bool CQzuWinControl::HandleWindowEvent(QObject* watched, QEvent* event) {
  QWidget* self = GetWidget();
  if (!self) return false;
  const bool onSelf = watched == self;
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Show:
    case QEvent::Hide:
      // What re-parenting does on the way is not the user's doing.
      if (InsideReparenting(watched)) return false;
      break;
    default:
      break;
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      if (IsPropagatedInput(watched, event)) return false;
      return HandleMouse(watched, event);
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(event);
      const int delta = WheelDeltaFromQt(we->angleDelta().y());
      if (delta == 0) return false;
      const QPoint p = MapToClient(watched, we->position().toPoint());
      const int flags = ModifierFlagsFromQt(we->modifiers());
      const QPoint g = we->globalPosition().toPoint();
      const intptr_t wParam = static_cast<intptr_t>((static_cast<uint32_t>(delta & 0xFFFF) << 16) | static_cast<uint32_t>(flags));
      const intptr_t lParam = static_cast<intptr_t>((static_cast<uint32_t>(g.y() & 0xFFFF) << 16) | static_cast<uint32_t>(g.x() & 0xFFFF));
      if (Raise(OnMessage, qzu_win::kWmMouseWheel, wParam, lParam) != 0) return true;
      return Raise(OnWheel, delta, p.x(), p.y(), flags) != 0;
    }
    case QEvent::Leave:
      if (onSelf) Raise(OnMouseLeave);
      return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (IsPropagatedInput(watched, event)) return false;
      return HandleKey(event);
    case QEvent::FocusIn:
      if (onSelf) Raise(OnFocusGot);
      return false;
    case QEvent::FocusOut:
      if (onSelf) Raise(OnFocusLost);
      return false;
    case QEvent::Resize:
      if (onSelf) {
        const QSize s = static_cast<QResizeEvent*>(event)->size();
        m_width = s.width();
        m_height = s.height();
        Raise(OnSize, s.width(), s.height());
      }
      return false;
    case QEvent::Move:
      if (onSelf) Raise(OnMove, self->x(), self->y());
      return false;
    case QEvent::Show:
      if (onSelf && !m_window->reportedShown) {
        m_window->reportedShown = true;
        Raise(OnShown);
      }
      return false;
    case QEvent::Hide:
      if (onSelf && m_window->reportedShown && !event->spontaneous()) {
        m_window->reportedShown = false;
        Raise(OnHidden);
      }
      return false;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return HandleDrop(event);
    case QEvent::ToolTip:
      return ShowToolTip(event);
    default:
      if (event->type() == QzuMessageEvent::EventType()) {
        auto* me = static_cast<QzuMessageEvent*>(event);
        HandleMessage(me->message, me->wParam, me->lParam);
        return true;
      }
      return false;
  }
}

}  // namespace rg_Ombrine_MFCJieMian_base
