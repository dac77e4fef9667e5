#pragma once
// rg_TavelkinZuGeKuang1: the owner-drawn drop-down list. A field shows a
// title, an icon and the current item (or, in the editable styles, an edit
// field with the text) and a handle of three small squares at its right end;
// a click opens a list of rows below or above the field. There is no popup
// window: opening makes the control itself taller, and a control whose
// parent is not the top-level window is moved into that window while it is
// open (SetParentControl), so that the list is not clipped by its panel; the
// focus stays where it was. Items come from one text
// (components/drop_down_item_text.h).
//
// Children: the edit field (101, borderless), a vertical scroll bar for long
// lists (102, hidden until needed), the hidden canvas (103) on which every
// paint draws, the visible display (104) that shows the canvas and takes the
// focus and the mouse, and the outside-press watch (105, timer id 1000 at
// 50 ms). Redraw requests go through a work queue: a request made while a
// paint is under way or pending is drawn by that paint's successor once,
// however many were made. Every request first processes pending window
// messages, so other handlers may run inside any operation that asks for a
// redraw, and the item-chosen and colour-chosen events are raised after
// pending messages were processed too.
//
// The list closes by a click on it (choosing the row under the pointer), a
// right click, a left press outside it that this program receives (the watch
// starts once the pointer has left the open list), or the display losing the
// focus (a press in another program closes it so); only the click chooses.
//
// Events, handler(receiver, list, user data, arguments):
//   ItemChosenEvent       a row chosen by closing the list (styles 0 and 2,
//                         outside colour mode) or by the wheel
//   TextChangedEvent      the edit field changed, style 1 outside colour mode
//   OpeningEvent          before opening; any non-zero result keeps it closed
//   ClosedEvent           a list moved into the host window was put back
//   FieldKeyDownEvent, FieldKeyUpEvent  (key code, key flags) in the edit field
//   MouseMoveEvent        (x, y, key flags) over the display
//   FieldClickEvent       a left release on the closed field left of the
//                         handle; a result of exactly 1 keeps it closed
//   ColourChosenEvent     colour mode: a colour was chosen
//
// Colour mode (colourMode > 0): the items are colour swatches whose numbers
// are COLORREF values, item 0 stands for the custom colour. Choosing item 0
// shows the registered colour window beside the list with the current colour
// (components/colour_window_operations.h): its choice becomes the custom
// colour (SetDropDownColour) and is reported; a window closed without a
// choice keeps the custom colour and reports nothing. The program registers
// no colour window, so there choosing item 0 tells the user so and reports
// colour 0.
//
// UI thread only. Owners set the plain members and then call a setter or
// RedrawDropDownList.
#include <QPointer>
#include <QWidget>

#include <cstdint>

#include "common/arrays.h"
#include "components/drop_down_item.h"
#include "components/picture_group.h"
#include "components/scroll_bar.h"
#include "framework/drawing_dc.h"
#include "framework/edit_box.h"
#include "framework/painter.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"
#include "services/font_description.h"
#include "services/mouse_enter_leave_watcher.h"
#include "services/work_queue.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Styles.
inline constexpr int32_t kDropDownEditableQuiet = 0;  // edit field, its changes not reported
inline constexpr int32_t kDropDownEditable = 1;       // edit field, changes reported
inline constexpr int32_t kDropDownListOnly = 2;       // the field shows the current item
// What opening does to the scroll position.
inline constexpr int32_t kLocateNothing = 0;
inline constexpr int32_t kLocateCurrent = 1;  // shows the current item (or the one matching the field)
inline constexpr int32_t kLocateTop = 2;
// The URL option: a right click opens the current item's address.
inline constexpr int32_t kUrlOptionOff = 0;
inline constexpr int32_t kUrlOptionOpen = 1;
inline constexpr int32_t kUrlOptionAddWww = 2;  // and puts "www." in front where it is missing
// RedrawDropDownList's argument.
inline constexpr int32_t kDropDownQueued = 0;
inline constexpr int32_t kDropDownPaintNow = 1;
// The field-click result that keeps the list closed.
inline constexpr intptr_t kKeepDropDownClosed = 1;
// Ids of the children.
inline constexpr int kDropDownEditId = 101;
inline constexpr int kDropDownScrollBarId = 102;
inline constexpr int kDropDownCanvasId = 103;
inline constexpr int kDropDownDisplayId = 104;
inline constexpr int kDropDownTimerId = 105;
inline constexpr int kOutsidePressWatchId = 1000;
inline constexpr int kOutsidePressWatchMilliseconds = 50;
inline constexpr char16_t kDropDownDefaultFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
inline constexpr char16_t kColourWindowMissingText[] = u"还没有设置颜色窗口的指针！";

class rg_TavelkinZuGeKuang1 : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi {
  QZU_DECLARE_CLASS(rg_TavelkinZuGeKuang1)
 public:
  // ConstructDropDownList: the members with their defaults, no window.
  rg_TavelkinZuGeKuang1();
  // The receiver is detached first, so that no handler runs into the members
  // as they go.
  ~rg_TavelkinZuGeKuang1() override;

  // Only the object itself (it embeds child controls).
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses another class; copies the window part and the children (their
  // windows shared) and every member, never the event slots or the receiver.
  int CopyFrom(const CQzuObject& source) override;
  // The text member, then the members in the order of the class's stream
  // form: title, title width, colour mode, custom colour, edit field, scroll
  // bar, canvas, display, timer, items, picture group, field height, line
  // height, drawing enabled, ready, font, a spare 0, URL option, tip text,
  // numbering, empty icon zero, handle icon height and width, previous index,
  // parameter separator, current and requested index, open, row gap, border
  // colour, hover border colour, field background, hover, handle hover,
  // watcher, drawing x and y, previous open, first visible row, an empty text
  // array, opens upward, list height, redraw queue, title colour, moving,
  // previous hot row, hot row, saved rectangle, style, greyed text, locate on
  // open, button held, list pressed, list focused, parent and host window
  // (windows belong to one run: written as 0, read and dropped).
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 636 x 223 logical pixels, scaled and rounded.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // ---- items, selection, value and colour ----
  // Replaces every item from an item text (either form) and keeps the
  // selection by position.
  void SetDropDownItemsText(const CWString& text);
  // The parser: items from rows; keeps the selection when the last requested
  // index still names the current item, else selects that index anew.
  void BuildDropDownItems(const CWString& text);
  // Remembers the index; one inside the items becomes current and its text
  // goes into the edit field, any other clears both. Redraws; raises nothing.
  void SelectDropDownItem(int32_t index);
  // The current index, -1 when it lies outside the items.
  int32_t GetDropDownIndex() const;
  // Empty, or 0, for an index outside the items.
  CWString GetDropDownItemText(int32_t index) const;
  int32_t GetDropDownItemNumber(int32_t index) const;
  int GetDropDownItemCount() const { return items.GetCount(); }
  // List only: the current item's text; other styles: the edit field's text.
  CWString GetDropDownValue() const;
  // Sets the edit field's text. List only: then selects the first item of
  // exactly that text, else the index the text reads as (_wtol: a non-number
  // is 0). Other styles keep the selection.
  void SetDropDownValue(const CWString& text);
  // 0 without a current item; the custom colour for item 0; else the
  // current item's number.
  COLORREF GetDropDownColour() const;
  // Stores the custom colour; in colour mode the first item from 1 on with
  // that number becomes current, else item 0. Leaves the edit field alone.
  void SetDropDownColour(COLORREF colour);

  // ---- field, opening, events ----
  // Setting clears the title width (measured at the next paint); no redraw.
  void SetDropDownTitle(const CWString& title);
  CWString GetDropDownTitle() const { return title; }
  // Picture 0 of the picture group becomes the handle icon (RCDATA 502), at
  // the handle icon size times the DPI factor, or a square of the line
  // height; redraws.
  void AddDropDownHandleIcon();
  // The display's tool tip: the text, then with the URL option
  // "右击可以打开网址" (in "（）" after a text), then in colour mode "。" after a
  // text and "如果需要定位上次颜色，按住Ctrl键再弹出列表".
  void SetDropDownTipText(const CWString& text);
  // Opens a closed list (asking the opening event) or closes an open one,
  // choosing the row under the pointer.
  void ToggleDropDownList();
  // Brings the window into the open or closed geometry; the paint runs it.
  void ApplyDropDownOpenState();
  // Stores and returns the open list's height, and whether it opens upward,
  // for a field whose top lies at `top` in its parent.
  int ComputeDropDownListHeight(int top);
  // A mouse move over a painter: only the display's count.
  void TrackDropDownHover(CQzuObject* sender, int x, int y, int keyFlags);
  // A right release over the display: closes an open list first; then opens
  // the current item's address (list only, URL option on) or pastes the
  // clipboard into the field (editable styles).
  void OpenDropDownAddress();
  intptr_t RaiseDropDownItemChosen();
  intptr_t RaiseDropDownColourChosen();
  // The size handler.
  void OnDropDownResize();

  // ---- drawing ----
  // Nothing before the first shown event measured the line height, nor
  // while drawing is disabled. Queued: processes pending messages, then asks
  // the redraw queue; paint now: paints the field and the open rows.
  void RedrawDropDownList(int32_t paintNow);
  // One row at the drawing position (drawX, drawY).
  void DrawDropDownItem(const rg_TavelkinXiangMu& item, int rowHeight, bool hot, bool selected, bool inField,
                        int rightReserve, bool fieldRow);
  int GetDropDownRowHeight() const;
  int CountVisibleDropDownRows() const;
  int GetDropDownHandleLeft();

  rg_Ombrine_MFCJieMian_base::rg_edit_box& EditField() { return m_edit; }
  rg_TavelkinGunDongTiao1& ScrollBar() { return m_scrollBar; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Canvas() { return m_canvas; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Display() { return m_display; }
  rg_Ombrine_MFCJieMian_base::rg_timer& WatchTimer() { return m_timer; }
  // How many times the list has been painted.
  int GetPaintCount() const { return m_paintCount; }

  // ---- members ----
  CWString title;
  int32_t titleWidth = 0;  // 0: measured again at the next paint
  int32_t colourMode = 0;  // above 0: the items are colours
  COLORREF customColour = 0;
  CQzuObjectArray items;  // rg_TavelkinXiangMu
  rg_TavelkinTuPianZu pictures;  // the handle icon and the item icons
  int32_t fieldHeight = 0;       // the closed control's height
  int32_t lineHeight = 0;        // of the sample text in the row font
  int32_t drawingEnabled = 1;
  int32_t ready = 0;  // the line height has been measured
  rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1 font;
  int32_t urlOption = kUrlOptionOff;
  CWString tipText;
  int32_t numbering = 0;
  int32_t emptyIconZero = 1;  // an empty icon field gives 0, else -1
  int32_t handleIconHeight = 0, handleIconWidth = 0;  // logical pixels; 0: a square of the line height
  int32_t previousIndex = 0;  // the current index before the last reload
  CWString parameterSeparator = CWString(u"|");
  int32_t currentIndex = -1;
  int32_t requestedIndex = -1;
  int32_t open = 0;
  int32_t rowGap = 5;  // logical pixels between rows and between the parts of the field
  COLORREF borderColour = 0xFF8800;
  COLORREF hoverBorderColour = 0x308DCE;
  COLORREF fieldBackground = 0xECECEC;  // 0xFF000000: the button face
  int32_t hover = 0;        // the pointer is over the control
  int32_t handleHover = 0;  // the pointer is over the handle
  rg_Tavelkin_MingLingJi::rg_TavelkinYiRuYiChuShiJianLei watcher;
  int32_t drawX = 0, drawY = 0;  // where DrawDropDownItem draws next
  int32_t previousOpen = 0;      // the open state the window was last brought into
  int32_t firstVisibleRow = 0;
  int32_t opensUpward = 0;
  int32_t listHeight = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieLei redrawQueue;
  COLORREF titleColour = 0xFF8800;
  int32_t moving = 0;  // the list moves its own window: the next size event does not redraw
  int32_t previousHotRow = -1;
  int32_t hotRow = -1;
  QzuRect savedRectangle;  // in the home parent, while the list is open in the host window
  int32_t style = kDropDownListOnly;
  int32_t greyedText = 0;
  int32_t locateOnOpen = kLocateCurrent;
  int32_t buttonHeld = 0;   // a left press on the field, the scroll bar or the display not yet released
  int32_t listPressed = 0;  // a left press on the display not yet released
  int32_t listFocused = 0;  // the display has the keyboard focus
  QPointer<QWidget> parentWindow;  // the home parent
  QPointer<QWidget> hostWindow;    // the top-level window, unless that is the parent

  CQzuEventSlot<> ItemChosenEvent;
  CQzuEventSlot<> TextChangedEvent;
  CQzuEventSlot<> OpeningEvent;
  CQzuEventSlot<> ClosedEvent;
  CQzuEventSlot<int, int> FieldKeyDownEvent;
  CQzuEventSlot<int, int> FieldKeyUpEvent;
  CQzuEventSlot<int, int, int> MouseMoveEvent;
  CQzuEventSlot<> FieldClickEvent;
  CQzuEventSlot<> ColourChosenEvent;

 protected:
  // CreateDropDownChildren.
  void CreateChildren() override;

 private:
  // The handlers of the list, its children, the watcher and the queue.
  static intptr_t OnDropDownCreated(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownShown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownSize(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int width, int height);
  static intptr_t OnDropDownMessage(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int message,
                                    intptr_t wParam, intptr_t lParam);
  static intptr_t OnDropDownFieldPress(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                       int keys);
  static intptr_t OnDropDownFieldRelease(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                         int keys);
  static intptr_t OnDropDownFieldTextChanged(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownFieldKeyDown(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int key,
                                         int keys);
  static intptr_t OnDropDownFieldKeyUp(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int key,
                                       int keys);
  static intptr_t OnDropDownScroll(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int32_t position);
  static intptr_t OnDropDownScrollBarHeld(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                          int keys);
  static intptr_t OnDropDownScrollBarReleased(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x,
                                              int y, int keys);
  static intptr_t OnDropDownMouseMove(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                      int keys);
  static intptr_t OnDropDownListPress(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                      int keys);
  static intptr_t OnDropDownListRelease(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                        int keys);
  static intptr_t OnDropDownListFocused(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownListUnfocused(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownRightUp(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y,
                                    int keys);
  static intptr_t OnDropDownWatchTimer(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OnDropDownLeave(CQzuObject* receiver, CQzuObject* sender, intptr_t userData,
                                  CQzuWinControl* control, CQzuWinControl* same, int value);
  static intptr_t OnDropDownQueueItem(CQzuObject* receiver, CQzuObject* sender, intptr_t userData,
                                      const CQzuMem& request);

  void ConnectPainter(rg_Ombrine_MFCJieMian_base::rg_painter& painter);
  void PaintDropDownList();
  void PlaceEditField(int contentOffset, int fieldTop);
  void PlaceScrollBar();
  void DrawDropDownField(int fieldTop, int contentOffset);
  // Picture `index` of the group, centred in the icon column at the drawing
  // position.
  void DrawDropDownPicture(int index, int rowHeight);
  // Where the field's content starts right of icon and title (0 for none).
  int FieldContentOffset() const;
  // The row font's description: the list's font, bold or not.
  CWString RowFontText(bool bold) const;
  // Sets the canvas font to the row font, bold or not.
  void UseRowFont(bool bold);
  // The height of the sample text in the row font, measured without sizing
  // (allocating and filling) the canvas's image.
  int MeasureLineHeight();
  // Moves or resizes the own window with the moving flag set around it.
  void MoveSelf(int x, int y, int width, int height);
  void OpenInHostWindow(CQzuWinControl& host);
  void CloseFromHostWindow();
  void ScrollToCurrentItem();
  void CloseWithoutChoosing();
  bool IsDisplay(const CQzuObject* sender) const { return sender == &m_display; }
  rg_TavelkinXiangMu* ItemAt(int32_t index) const;

  CQzuReceiverRef m_receiver;
  rg_Ombrine_MFCJieMian_base::rg_edit_box m_edit;
  rg_TavelkinGunDongTiao1 m_scrollBar;
  rg_Ombrine_MFCJieMian_base::rg_painter m_canvas;
  rg_Ombrine_MFCJieMian_base::rg_painter m_display;
  rg_Ombrine_MFCJieMian_base::rg_timer m_timer;
  rg_TavelkinXiangMu m_placeholder;
  int m_paintCount = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
