#pragma once
// rg_TavelkinShuXingKuang: the owner-drawn tree box. A container control that
// keeps its rows in an embedded TreeBoxModel (foldertree/tree_box_model.h:
// row operations, visible rows, selection, index tables), builds the index
// tables on background workers (foldertree/tree_index_workers.h), paints the
// rows that are on screen, scrolls them with two owner-drawn scroll bars and
// renames rows in place in an edit child. The folder tree embeds one.
//
// Children, by id: 101 vertical bar, 102 horizontal bar, 103 bottom strip and
// 104 right strip (white fillers behind the bars), 105 rename field, 106
// canvas painter (hidden; every paint draws there), 107 display painter
// (shows the canvas, takes the mouse and the keyboard, carries the line
// tool-tips), 108 rename delay timer, 109 settle timer (both timer id 1000).
//
// Painting (PaintTreeBox) draws only the lines that fit, into a canvas as
// large as the tree box's client area: content wider than the box is shown
// through the horizontal scroll offset `canvasX` (0 or negative, the x of the
// content's left edge on screen). Line tables, hit ranges and the content
// width are in content coordinates; input handlers turn the painter's x into
// content x by subtracting `canvasX`. So memory follows the window's size,
// not the content's. Nothing is painted before the shown event nor while the
// model's redraw flag is off.
//
// Events, raised as handler(receiver, tree box, user data, arguments...);
// "veto" events stop their action on any non-zero result, and an
// unconnected event never vetoes:
//   OnTreeFilesDropped (paths): once, after the last item of a drop reported
//     by the file-drop enabler (`fileDrop`, which its owner enables on a
//     window, usually Display());
//   OnRowRightClicked (): a right press on a row's text selected that row;
//   OnRenameCommitted (row, old text, new text): the rename field was left
//     or Enter pressed; non-zero keeps the row's text, 0 sets the new text;
//   OnBeforeRename (row, text): veto; the handler may change the text the
//     field shows;
//   OnRowChosen (row, how, same-row flag): how 1 a left press (or a press
//     that cleared the selection), 2 Up or Down, 3 a right press, 0 the
//     program; its result goes back to the model's caller;
//   OnHoverChanged (row): the mouse moved onto another row's text;
//   OnKeyPressed (key, modifier flags): after the tree box's own handling of
//     a key down on a painter or scroll bar;
//   OnBeforeExpand (row): veto; OnExpandToggled (row): after an expand box
//     toggled a row;
//   OnBeforeCheck (row): veto; OnCheckChanged (row): after a check box was
//     cycled;
//   OnRowClicked (row or -1): a left press on a row's text, or -1 for a
//     press on nothing;
//   OnTreeHidden (): the tree box was hidden.
// The base control's own events (OnMessage, OnSize...) work as for every
// control; OnShown, OnHidden, OnSize and OnDestroyed are connected to the
// tree box's handlers by its child creation.
//
// Threads: the UI thread, except the index workers and the pool's task
// handler (RunTreeIndexJob). Destroying the tree box first stops the workers
// and waits for them.
#include <cstdint>
#include <vector>

#include "common/arrays.h"
#include "common/critical_section.h"
#include "common/event.h"
#include "common/int_text_map.h"
#include "components/scroll_bar.h"
#include "foldertree/tree_box_model.h"
#include "foldertree/tree_index_workers.h"
#include "framework/edit_box.h"
#include "framework/painter.h"
#include "framework/timer_control.h"
#include "framework/win_container.h"
#include "services/file_drop.h"
#include "services/json_records.h"
#include "services/run_once_guard.h"
#include "services/thread_pool.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Ids of the children.
inline constexpr int kTreeVerticalBarId = 101;
inline constexpr int kTreeHorizontalBarId = 102;
inline constexpr int kTreeBottomStripId = 103;
inline constexpr int kTreeRightStripId = 104;
inline constexpr int kTreeRenameFieldId = 105;
inline constexpr int kTreeCanvasId = 106;
inline constexpr int kTreeDisplayId = 107;
inline constexpr int kTreeRenameTimerId = 108;
inline constexpr int kTreeSettleTimerId = 109;
inline constexpr int kTreeTimerEventId = 1000;
inline constexpr int kRenameDelayMilliseconds = 200;
inline constexpr int kSettleMilliseconds = 50;
// A line table entry that no x hits (no expand box, no check box).
inline constexpr int32_t kNoHitX = 0x7FFFFFFF;
// The widest content the scroll range covers.
inline constexpr int32_t kMaxContentWidth = 0xFFFF;
// HandleTreeBoxClick's buttons.
inline constexpr int kTreeLeftButton = 0;
inline constexpr int kTreeRightButton = -1;
// The how-values of the row chosen event.
inline constexpr int kChosenByProgram = 0;
inline constexpr int kChosenByLeftPress = 1;
inline constexpr int kChosenByKey = 2;
inline constexpr int kChosenByRightPress = 3;
// BeginRowRename's line for a call from the keyboard or the owner.
inline constexpr int kRenameFromKeyboard = -1;
// Colours of the paint.
inline constexpr COLORREF kTreeDisabledBackground = 0xECECEC;
inline constexpr COLORREF kTreeDisabledText = 0x808080;
inline constexpr COLORREF kTreeSelectionFill = 0xC06000;
inline constexpr COLORREF kTreeSelectionText = 0xFFFFFF;
inline constexpr COLORREF kTreeLineColour = 0xC0C0C0;
inline constexpr COLORREF kExpandBoxPen = 0xFF8080;
inline constexpr COLORREF kCheckBoxPen = 0xFF0000;
inline constexpr COLORREF kCheckMarkFill = 0x0000FF;
inline constexpr COLORREF kUseDefaultColour = 0xFFFFFFFF;  // -1
inline constexpr char16_t kTreeChildFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
// Texts longer than this are cut and end in "..".
inline constexpr int kMaxDrawnTextLength = 1000;

class rg_TavelkinShuXingKuang : public rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi, public ITreeBoxModelHost {
  QZU_DECLARE_CLASS(rg_TavelkinShuXingKuang)

 public:
  using RowEvent = CQzuEventSlot<int>;

  // ConstructTreeBox and InitTreeBoxDefaults: every member at its default,
  // the receiver made, the drop and pool task events connected. No window.
  rg_TavelkinShuXingKuang();
  // DestroyTreeBox: the receiver is detached (no handler starts any more),
  // the index workers are stopped and waited for, then the members go.
  ~rg_TavelkinShuXingKuang() override;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses (0) anything but a tree box. Copies the base and every member in
  // declaration order (CopyTreeBoxValues): children share their windows,
  // guards and locks are shared with the source, event slots and the
  // receiver are not copied. The copy's index workers start idle: its own
  // running passes are stopped first, and the copied guards are cleared.
  int CopyFrom(const CQzuObject& source) override;
  // The base's text member, then every member in declaration order (event
  // slots and the receiver are not streamed; see tree_box.cpp for the list).
  // Loading stops the index workers first, as a copy does.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // Design size 472 x 340 logical pixels.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // The rows. Row operations repaint through this tree box while redraw is
  // enabled.
  TreeBoxModel& Model() { return m_model; }
  const TreeBoxModel& Model() const { return m_model; }
  TreeIndexWorkers& IndexWorkers() { return m_workers; }

  // Decodes image bytes (PNG, BMP, SVG...) into a picture and appends it to
  // the image list: its index, or -1 when the bytes give a picture of size
  // 0 (then the whole list is emptied). The icon size becomes the picture's
  // larger side. Repaints while redraw is enabled.
  int AddTreeImage(const CQzuMem& imageBytes);

  // --- Painting (tree_box_paint.cpp) ------------------------------------------
  // -1 keeps the first visible row; a row makes it the first visible row. A
  // call made while a paint runs makes that paint start over (with the row,
  // when one is given).
  void PaintTreeBox(int firstRow);
  // The box of an expand byte: a plus while collapsed, a minus when expanded.
  void DrawExpandBox(int x, int y, int size, int expandByte);
  // 1 when drawn; 0 for a check byte above 2 (nothing drawn).
  int DrawCheckBox(int x, int y, int size, int checkByte);
  void DrawRowIcon(int x, int y, int icon);
  // Starts the workers of the stale index tables (each paint does). 1.
  int StartTreeIndexWorkers();
  // The pool's task event: the pass of the job's table when the sender is
  // this tree box's pool. 0.
  int RunTreeIndexJob(CQzuObject* sender, int job);

  // --- Children and events (tree_box_children.cpp) ------------------------
  int OnTreeBoxResize();
  int OnTreeBoxShown();
  int OnTreeBoxHidden();
  int OnTreeBoxDestroyed();
  int OnTreeBoxTimer(CQzuObject* sender);
  int CollectDroppedFile(CQzuObject* sender, int count, int index, const CWString& path);

  // --- Mouse, keys and rename (tree_box_input.cpp) --------------------------
  // x in content coordinates, y in the display painter's.
  int HandleTreeBoxClick(int button, int x, int y);
  int OnTreeBoxLeftUp(int y);
  int HandleTreeBoxDoubleClick(int x);
  int TrackTreeBoxHover(CQzuObject* sender, int x, int y);
  int OnTreeBoxWheel(int steps);
  int HandleTreeBoxKey(int key, int flags);
  int OnTreeScrollBarMoved(CQzuObject* sender, int position);
  int OnTreeScrollDragEnded(CQzuObject* sender);
  int CommitRowRename(CQzuObject* sender);
  // 1 when the rename field opened; 0 when vetoed or the row is not on
  // screen. kRenameFromKeyboard selects the row (or scrolls to it) first.
  int BeginRowRename(int row, int line);
  intptr_t RaiseBeforeExpandEvent(int row);
  void RaiseRowClickedEvent(int row);
  // The screen line of a y (painter coordinates); valid lines are those of
  // the last paint.
  int LineOfY(int y) const;
  bool IsValidLine(int line) const;
  // The display painter's x of a content x and back.
  int ContentX(int displayX) const { return displayX - canvasX; }

  // --- The model's host ---------------------------------------------------------
  void RepaintTreeBox() override;
  // EnsureRowVisible's scrolling: repaints when the row is on screen, else
  // moves the vertical bar so that the row is the last line.
  void ScrollRowIntoView(int row) override;
  intptr_t RaiseRowChosenEvent(int row, int action, int flag) override;

  // --- Children -------------------------------------------------------------------
  rg_TavelkinGunDongTiao1& VerticalBar() { return m_verticalBar; }
  rg_TavelkinGunDongTiao1& HorizontalBar() { return m_horizontalBar; }
  rg_Ombrine_MFCJieMian_base::rg_painter& BottomStrip() { return m_bottomStrip; }
  rg_Ombrine_MFCJieMian_base::rg_painter& RightStrip() { return m_rightStrip; }
  rg_Ombrine_MFCJieMian_base::rg_edit_box& RenameField() { return m_renameField; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Canvas() { return m_canvas; }
  rg_Ombrine_MFCJieMian_base::rg_painter& Display() { return m_display; }
  rg_Ombrine_MFCJieMian_base::rg_timer& RenameTimer() { return m_renameTimer; }
  rg_Ombrine_MFCJieMian_base::rg_timer& SettleTimer() { return m_settleTimer; }
  // Paints finished (each start over counts once), for tests and benchmarks.
  int GetPaintCount() const { return m_paintCount; }

  // --- Events -------------------------------------------------------------------------
  CQzuEventSlot<const CMStringArray&> OnTreeFilesDropped;
  CQzuEventSlot<> OnRowRightClicked;
  CQzuEventSlot<int, CWString&, CWString&> OnRenameCommitted;
  CQzuEventSlot<int, CWString&> OnBeforeRename;
  CQzuEventSlot<int, int, int> OnRowChosen;
  RowEvent OnHoverChanged;
  CQzuEventSlot<int, int> OnKeyPressed;
  RowEvent OnBeforeExpand;
  RowEvent OnExpandToggled;
  RowEvent OnBeforeCheck;
  RowEvent OnCheckChanged;
  RowEvent OnRowClicked;
  CQzuEventSlot<> OnTreeHidden;

  // --- Members, in declaration order (the rows' members live in the model) ---
  rg_Tavelkin_MingLingJi::rg_TavelkinWenJianTuoFangLei fileDrop;
  CMStringArray droppedPaths;
  int32_t spareValueA = 0;
  int32_t leftOffset = 0;  // pixels added to every row's x
  rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei paintGuard;
  rg_Tavelkin_MingLingJi::rg_TavelkinXianChengChiLei threadPool;
  int32_t poolMode = 0;  // non-zero: index passes run as tasks of `threadPool`
  int32_t spareValueB = 0;
  int32_t keepAtEnd = 0;
  int32_t noHorizontalScroll = 0;
  int32_t disabled = 0;  // grey look, no selection colours
  CWString spareText;
  rg_TavelkinJSON_package::rg_TavelkinJSONLei jsonDocument;
  // (children 101 to 109; the row buffer)
  int32_t renameOnSlowClick = 0;
  // (row marker, marker length, header size, row count)
  int32_t rowsThatFit = 0;
  COLORREF defaultTextColour = 0;
  COLORREF defaultTextBackground = kUseDefaultColour;  // the canvas colour from the first paint
  COLORREF backgroundColour = 0xFFFFFF;
  int32_t rowHeight = 0;
  int32_t expandBoxWidth = 0;
  int32_t checkBoxWidth = 0;
  int32_t iconSize = 0;
  int32_t boxSize = 0;
  int32_t textHeight = 0;
  CQzuObjectArray imageList;  // rg_Ombrine_base::rg_WeiTuDuiXiangLei pictures
  rg_Ombrine_base::rg_ZhengShuShuZuLei imageFlags;
  // (redraw enabled)
  int32_t firstVisibleRow = 0;
  // (check mode)
  int32_t verticalScrollShown = 0;
  int32_t horizontalScrollShown = 0;
  int32_t hoverRow = -1;
  // (pending action)
  int32_t lineUnderMouse = 0;
  int32_t lastReportedHoverRow = 0;
  // Per drawn line (0 = top): row, expand box x, check box x (kNoHitX when
  // none), text hit start and end x; content coordinates.
  TreeRowLocator lineRows;
  TreeRowLocator lineExpandX;
  TreeRowLocator lineCheckX;
  TreeRowLocator lineTextStart;
  TreeRowLocator lineTextEnd;
  TreeRowLocator firstRowLocator;
  // (short-header mode)
  int32_t fullRowSelection = 0;
  int32_t clearSelectionOnEmptyPress = 0;
  int32_t customRowHeight = -1;  // design pixels when 1 or more
  CWString fontFace;             // empty: the default control font's face
  int32_t fontSize = 11;
  // (selected row)
  int32_t margin = 6;  // not DPI-scaled
  int32_t rowGap = 3;  // not DPI-scaled
  int32_t hoverUnderline = 0;
  int32_t treeLines = 1;
  int32_t checkBoxes = 0;
  // (visible-list length, visible row count, visible-row list, the six index records)
  int32_t shown = 0;
  int32_t keyboardMoveFlag = 1;
  rg_Ombrine_base::rg_HuChiSuoLei keyboardMoveLock;
  rg_Ombrine_base::rg_ZhengShuDaoWenBenMoXuHaXiBiao lineToolTips;
  int32_t reReportSameRow = 0;
  int32_t renamePending = 0;
  int32_t releaseLine = 0;

  // Not part of the stream form: the content width of the last paint (at
  // most kMaxContentWidth), the horizontal scroll offset (0 or negative),
  // and the row under rename (the rename field's spare integer).
  int32_t contentWidth = 0;
  int32_t canvasX = 0;
  int32_t renameRow = -1;

 protected:
  void CreateChildren() override;

 private:
  // One pass of PaintTreeBox; what to do next.
  enum class PaintStep { kDone, kStartOver, kStartOverAtTop };
  PaintStep PaintPass(int firstRow);
  // Per drawn line: level, row x, middle y, whether it has an expand box,
  // and its row's locator.
  struct TreeLineLayout {
    const std::vector<int>& levels;
    const std::vector<int>& xs;
    const std::vector<int>& mids;
    const std::vector<bool>& expandBoxes;
    const std::vector<TreeRowLocator>& locators;
  };
  // The connector lines; `abandoned` when a paint was asked for meanwhile.
  void DrawTreeLines(const TreeLineLayout& layout, bool& abandoned);
  void PlaceScrollBars(int clientWidth, int clientHeight);
  // The tree font text: face, size, no flags, as ParseFontText and
  // FormatFontText give it back.
  CWString TreeFontText(bool bold, bool underline) const;
  // The painter that sent a mouse event turned into the display painter's
  // coordinates.
  void ToDisplay(CQzuObject* sender, int& x, int& y) const;
  void ConnectPainter(rg_Ombrine_MFCJieMian_base::rg_painter& painter);
  void CopyTreeBoxValues(const rg_TavelkinShuXingKuang& source);

  friend struct TreeBoxHandlers;

  CQzuReceiverRef m_receiver;
  rg_TavelkinGunDongTiao1 m_verticalBar;
  rg_TavelkinGunDongTiao1 m_horizontalBar;
  rg_Ombrine_MFCJieMian_base::rg_painter m_bottomStrip;
  rg_Ombrine_MFCJieMian_base::rg_painter m_rightStrip;
  rg_Ombrine_MFCJieMian_base::rg_edit_box m_renameField;
  rg_Ombrine_MFCJieMian_base::rg_painter m_canvas;
  rg_Ombrine_MFCJieMian_base::rg_painter m_display;
  rg_Ombrine_MFCJieMian_base::rg_timer m_renameTimer;
  rg_Ombrine_MFCJieMian_base::rg_timer m_settleTimer;
  TreeBoxModel m_model;
  TreeIndexWorkers m_workers{m_model};
  // A first row asked for while a paint ran; the start over applies it.
  int32_t m_deferredFirstRow = -1;
  int64_t m_firstRowGeneration = -1;
  CWString m_canvasFontText;
  int m_paintCount = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
