#pragma once
// CQzuWinControl: the base of every control. It keeps the values a control
// has with or without a window (caption, text member, font description,
// colours, geometry, styles), creates the native window through hooks its
// subclasses fill in (create parameters, the widget, after-create set-up,
// children), and turns the window's events into its event slots: mouse
// positions in client pixels, keys as Windows virtual-key codes with the
// modifier flags 0x2000 Ctrl, 0x4000 Alt, 0x8000 Shift, wheel deltas of 120
// per notch. A handler that returns non-zero for a mouse, key or message
// event swallows it. Copies share the native window.
#include <QEvent>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <utility>

#include "common/arrays.h"
#include "common/event.h"
#include "common/object.h"
#include "framework/native_window.h"
#include "framework/win_defs.h"

namespace rg_Ombrine_MFCJieMian_base {

class CQzuWinControl;

// What the owner asks for when creating a window; hooks may change it.
struct CQzuCreateParams {
  CQzuWinControl* parent = nullptr;
  int x = qzu_win::kCwUseDefault, y = qzu_win::kCwUseDefault;
  int width = qzu_win::kCwUseDefault, height = qzu_win::kCwUseDefault;
  int id = 0;
  CWString caption;
  uint32_t style = 0;
  uint32_t exStyle = 0;
};

// Mouse pointer shapes a control can ask for. The default follows the parent
// (and the widget's own, such as the I-beam of an edit box).
enum CursorShape : int32_t {
  kCursorDefault = 0,
  kCursorArrow = 1,
  kCursorHand = 2,  // IDC_HAND: what clickable pictures and links show
  kCursorIBeam = 3,
  kCursorWait = 4,
  kCursorCross = 5,
};

// A colour member left at this value means "the widget's own colour".
constexpr COLORREF kDefaultColour = 0xFFFFFFFFu;
// Stands for the system button face.
constexpr COLORREF kButtonFaceSentinel = 0xFF000000u;

class CQzuWinControl : public CQzuObject {
  QZU_DECLARE_CLASS(CQzuWinControl)

 public:
  CQzuWinControl();
  CQzuWinControl(const CQzuWinControl&) = delete;
  CQzuWinControl& operator=(const CQzuWinControl&) = delete;
  ~CQzuWinControl() override;

  // Object operations. Equality: class, header, the shared window and the
  // text member. Copy-from copies every value and shares the window.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // The values of the control part alone (CopyWinControl of subclasses).
  void CopyWinControl(const CQzuWinControl& source);

  // Creates the native window: 1 on success, 0 on failure or when a window
  // already exists. Positions and sizes are device pixels (callers scale
  // logical pixels with ScaleByDpiFactor); kCwUseDefault takes the default
  // size. An empty caption keeps the caption set before. The style adds to
  // the control's own style bits.
  int Create(CQzuWinControl* parent, int x, int y, int width, int height, int id = 0,
             const CWString& caption = CWString(), uint32_t style = 0, uint32_t exStyle = 0);
  // Destroys the native window, raising OnDestroyed first; the object keeps
  // its values and may create a window again.
  void DestroyWindow();
  // The window holder's notice that the window was deleted with its parent:
  // raises OnDestroyed.
  void WindowDestroyed();
  bool HasWindow() const { return m_window->HasWindow(); }
  // Takes into the control's own members what only its window holds (the
  // edited text; subclasses add what they show, such as a selection). Runs
  // just before the window goes, so the values outlive it.
  virtual void KeepWindowValues();
  QWidget* GetWidget() const { return m_window->Widget(); }
  CMfcWndObject* GetWindowObject() const { return m_window.Get(); }
  // The control that owns a widget's window, or null.
  static CQzuWinControl* FromWidget(const QWidget* widget);
  // The control whose window is this window's parent, or null.
  CQzuWinControl* GetParentControl() const;
  // Gives the control a fresh window object holding `wnd` (before creation).
  void ReplaceWindowObject(std::unique_ptr<CVWnd> wnd);
  // Moves the window into `parent`'s client area, as SetParent does on
  // Windows: its position keeps its numbers (now counted in the new parent),
  // its size, its visibility and the keyboard focus of the window or of a
  // window inside it. Qt hides a re-parented widget and takes its focus; the
  // hide, show and focus changes this makes raise no event of this control
  // or of the controls inside it, so handlers never read them as the user's.
  // False, changing nothing, without a window, for a parent without one, or
  // for a parent that is the control itself or lies inside it.
  bool SetParentControl(CQzuWinControl* parent);

  // Listener: while detached, the window's events raise nothing.
  void AttachListener() { m_listenerAttached = true; }
  void DetachListener() { m_listenerAttached = false; }
  bool IsListenerAttached() const { return m_listenerAttached; }

  // Default size in device pixels (design size times the DPI factor, rounded).
  virtual int DefaultWidth() const;
  virtual int DefaultHeight() const;

  // Geometry, relative to the parent's client area (the screen for top-level
  // windows). Before creation these read and write the stored values.
  void Move(int x, int y, int width, int height);
  void SetLeft(int x) { Move(x, GetTop(), GetWidth(), GetHeight()); }
  void SetTop(int y) { Move(GetLeft(), y, GetWidth(), GetHeight()); }
  void SetWidth(int w) { Move(GetLeft(), GetTop(), w, GetHeight()); }
  void SetHeight(int h) { Move(GetLeft(), GetTop(), GetWidth(), h); }
  int GetLeft() const;
  int GetTop() const;
  int GetWidth() const;
  int GetHeight() const;
  // Client area (0 without a window).
  int GetClientWidth() const;
  int GetClientHeight() const;
  // Window rectangle in screen coordinates; false without a window.
  bool GetWindowRect(int& left, int& top, int& right, int& bottom) const;
  void ClientToScreen(int& x, int& y) const;
  void ScreenToClient(int& x, int& y) const;

  // Window text. Before creation it is stored and used by Create.
  void SetCaption(const CWString& caption);
  CWString GetCaption() const;
  // The text member every control carries beside its window text.
  void SetTextMember(const CWString& text) { m_text = text; }
  const CWString& GetTextMember() const { return m_text; }

  void SetFontText(const CWString& description);
  const CWString& GetFontText() const { return m_fontText; }
  void SetToolTip(const CWString& text);
  const CWString& GetToolTip() const { return m_toolTip; }
  // Text colour and margin (pixels) of this control's tool tip, for its tip
  // alone (kDefaultColour and 0 keep Qt's).
  void SetToolTipStyle(COLORREF textColour, int margin);
  COLORREF GetToolTipColour() const { return m_toolTipColour; }
  int GetToolTipMargin() const { return m_toolTipMargin; }
  void SetBackColour(COLORREF colour);
  COLORREF GetBackColour() const { return m_backColour; }
  void SetTextColour(COLORREF colour);
  COLORREF GetTextColour() const { return m_textColour; }

  // The pointer shape over the control and over its children that ask for
  // none of their own; it changes at once when the pointer is already there.
  // Kept before creation, copied with the control, not streamed.
  void SetCursorShape(int32_t shape);
  int32_t GetCursorShape() const { return m_cursorShape; }

  void SetVisible(bool visible);
  bool IsVisible() const;
  void SetEnabled(bool enabled);
  bool IsEnabled() const { return m_enabled != 0; }
  void SetFocus();
  bool HasFocus() const;
  void Invalidate();
  // Puts the window above its siblings (and activates a top-level window).
  void BringToTop();
  // Puts the window under its siblings (HWND_BOTTOM), without moving or
  // activating it; nothing without a window.
  void SendToBottom();

  void SetId(int id) { m_id = id; }
  int GetId() const { return m_id; }
  void SetStyle(uint32_t style) { m_style = style; }
  void AddStyle(uint32_t bits) { m_style |= bits; }
  void RemoveStyle(uint32_t bits) { m_style &= ~bits; }
  uint32_t GetStyle() const { return m_style; }
  void SetExStyle(uint32_t style) { m_exStyle = style; }
  uint32_t GetExStyle() const { return m_exStyle; }
  // Files dropped on the window raise OnFilesDropped.
  void AcceptFiles(bool accept);
  // A control that shows a context menu of its own: the widget's built-in
  // one (Qt's text menu, the code editor's) no longer opens on a right press
  // or the menu key, so only ours appears.
  void SetOwnContextMenu(bool own);
  bool HasOwnContextMenu() const { return m_ownContextMenu != 0; }

  // Messages: posting queues the message for the window (handled by the
  // next pump); sending handles it at once. Both do nothing without a window.
  // Any thread may post: from another thread the message is handed to the UI
  // thread and dropped there when the window has gone meanwhile.
  bool PostMessage(int message, intptr_t wParam = 0, intptr_t lParam = 0);
  intptr_t SendMessage(int message, intptr_t wParam = 0, intptr_t lParam = 0);

  // Routes one event of the window (or of a watched part of it); true
  // swallows it. Subclasses extend it and call the base for the rest.
  virtual bool HandleWindowEvent(QObject* watched, QEvent* event);
  // A posted or sent message: WM_CLOSE closes the window; everything else
  // raises OnMessage.
  virtual intptr_t HandleMessage(int message, intptr_t wParam, intptr_t lParam);

  // Events, raised as handler(receiver, this, user data, arguments...).
  CQzuEventSlot<> OnCreated;
  CQzuEventSlot<> OnShown;
  CQzuEventSlot<> OnHidden;
  CQzuEventSlot<int, int> OnSize;  // client width, height
  CQzuEventSlot<int, int> OnMove;  // left, top
  CQzuEventSlot<> OnFocusGot;
  CQzuEventSlot<> OnFocusLost;
  CQzuEventSlot<int, int, int> OnLeftDown;  // x, y, modifier flags
  CQzuEventSlot<int, int, int> OnLeftUp;
  CQzuEventSlot<int, int, int> OnRightDown;
  CQzuEventSlot<int, int, int> OnRightUp;
  CQzuEventSlot<int, int, int> OnMiddleDown;
  CQzuEventSlot<int, int, int> OnMiddleUp;
  CQzuEventSlot<int, int, int> OnDoubleClick;
  CQzuEventSlot<int, int, int> OnMouseMove;
  CQzuEventSlot<int, int, int, int> OnWheel;  // delta (120 a notch), x, y, flags
  CQzuEventSlot<> OnMouseLeave;
  CQzuEventSlot<int, int> OnKeyDown;  // virtual-key code, modifier flags
  CQzuEventSlot<int, int> OnKeyUp;
  CQzuEventSlot<int, int> OnChar;  // UTF-16 unit, modifier flags
  CQzuEventSlot<int, intptr_t, intptr_t> OnMessage;
  CQzuEventSlot<const CMStringArray&> OnFilesDropped;
  // The window goes: raised once per window, by DestroyWindow (WM_CLOSE on a
  // child included) or when the window is deleted with its parent. Not
  // raised when the control object itself is destroyed first.
  CQzuEventSlot<> OnDestroyed;

 protected:
  // Creation hooks, in the order Create runs them.
  virtual void PrepareCreateParams(CQzuCreateParams& params);
  // Makes the widget; the base makes a plain one. Null fails the creation.
  virtual QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent);
  // Objects besides the widget whose events belong to this control.
  virtual std::vector<QObject*> WatchedParts(QWidget* widget);
  // Applies font, colours, tool tip, state and caption to the new widget.
  virtual void AfterCreate(const CQzuCreateParams& params);
  virtual void CreateChildren() {}

  // The caption into and out of the widget (labels, buttons, edits differ).
  virtual void ApplyCaption(const CWString& caption);
  virtual CWString ReadCaption() const;
  virtual void ApplyColours();
  virtual void ApplyFont();

  // Raises through a slot unless the listener is detached.
  template <class... A, class... B>
  intptr_t Raise(const CQzuEventSlot<A...>& slot, B&&... args) {
    if (!m_listenerAttached) return 0;
    return slot.Raise(this, std::forward<B>(args)...);
  }
  // Still the owner of a live window (handlers may destroy either).
  bool StillOwnsWindow(const CQzuRef<CMfcWndObject>& window) const;
  QPoint MapToClient(QObject* watched, const QPoint& p) const;

  CQzuRef<CMfcWndObject> m_window;
  CWString m_text;
  CWString m_caption;
  CWString m_fontText;
  CWString m_toolTip;
  int32_t m_id = 0;
  int32_t m_left = 0, m_top = 0, m_width = 0, m_height = 0;
  uint32_t m_style = 0;
  uint32_t m_exStyle = 0;
  int32_t m_visible = 1;
  int32_t m_enabled = 1;
  COLORREF m_backColour = kDefaultColour;
  COLORREF m_textColour = kDefaultColour;
  COLORREF m_toolTipColour = kDefaultColour;
  int32_t m_toolTipMargin = 0;
  int32_t m_acceptFiles = 0;
  int32_t m_ownContextMenu = 0;
  int32_t m_cursorShape = kCursorDefault;
  bool m_listenerAttached = true;

 private:
  bool HandleMouse(QObject* watched, QEvent* event);
  bool HandleKey(QEvent* event);
  bool HandleDrop(QEvent* event);
  bool ShowToolTip(QEvent* event);
  void ApplyCursor();
};

}  // namespace rg_Ombrine_MFCJieMian_base

using rg_Ombrine_MFCJieMian_base::CQzuWinControl;
