// rg_TavelkinShuXingKuang: construction, destruction, copies, the stream form
// and the image list. Painting is in tree_box_paint.cpp, the children and
// their events in tree_box_children.cpp, input and renaming in
// tree_box_input.cpp.
#include "foldertree/tree_box.h"

#include "common/dpi.h"
#include "framework/bitmap_object.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

using rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;

QZU_IMPLEMENT_CLASS(rg_TavelkinShuXingKuang, rg_ZuJianBuJuQi,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang")

namespace {

rg_TavelkinShuXingKuang* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinShuXingKuang*>(receiver); }

intptr_t FileDropped(CQzuObject* r, CQzuObject* sender, intptr_t, int count, int index, const CWString& path,
                     const CWString&) {
  return Self(r)->CollectDroppedFile(sender, count, index, path);
}

intptr_t PoolTask(CQzuObject* r, CQzuObject* sender, intptr_t, intptr_t job, intptr_t, intptr_t, const CWString&,
                  const CWString&, const CWString&) {
  return Self(r)->RunTreeIndexJob(sender, static_cast<int>(job));
}

// A copy's passes start idle, whatever the source's were doing.
void MakeIdle(TreeBoxModel& model) {
  for (TreeIndexKind kind : {TreeIndexKind::kRowOffsets, TreeIndexKind::kParents, TreeIndexKind::kSiblings,
                             TreeIndexKind::kSubtreeEnds, TreeIndexKind::kFifth, TreeIndexKind::kSixth})
    model.IndexGuard(kind).EndRun();
}

}  // namespace

rg_TavelkinShuXingKuang::rg_TavelkinShuXingKuang() : m_receiver(CQzuReceiverRef::Make(this)) {
  // The window's background follows the parent's colour.
  SetBackColour(rg_Ombrine_MFCJieMian_base::kButtonFaceSentinel);
  m_model.SetHost(this);
  m_canvas.SetVisible(false);
  fileDrop.dropEvent.Connect(&FileDropped, m_receiver);
  threadPool.taskEvent.Connect(&PoolTask, m_receiver);
}

rg_TavelkinShuXingKuang::~rg_TavelkinShuXingKuang() {
  // Running passes are told to end first, so that the detach, which waits
  // for handlers running on pool threads, does not wait for a whole pass.
  m_workers.RequestStop();
  m_receiver->Detach();
  m_workers.StopAndWait();
  threadPool.SetPoolThreadCount(0);
  m_model.SetHost(nullptr);
  fileDrop.dropEvent.Disconnect();
  threadPool.taskEvent.Disconnect();
  for (auto* slot : {&OnRowRightClicked, &OnTreeHidden}) slot->Disconnect();
  for (RowEvent* slot :
       {&OnHoverChanged, &OnBeforeExpand, &OnExpandToggled, &OnBeforeCheck, &OnCheckChanged, &OnRowClicked})
    slot->Disconnect();
  OnTreeFilesDropped.Disconnect();
  OnRenameCommitted.Disconnect();
  OnBeforeRename.Disconnect();
  OnRowChosen.Disconnect();
  OnKeyPressed.Disconnect();
}

bool rg_TavelkinShuXingKuang::IsEqual(const CQzuObject& other) const { return SameHeader(other) && &other == this; }

int rg_TavelkinShuXingKuang::DefaultWidth() const { return ScaleByDpiFactor(472); }
int rg_TavelkinShuXingKuang::DefaultHeight() const { return ScaleByDpiFactor(340); }

int rg_TavelkinShuXingKuang::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinShuXingKuang, source)
  CopyWinControl(src);
  CopyTreeBoxValues(src);
  return 1;
}

void rg_TavelkinShuXingKuang::CopyTreeBoxValues(const rg_TavelkinShuXingKuang& src) {
  // This tree box's own passes must not run into the tables being replaced.
  m_workers.StopAndWait();
  fileDrop.CopyFrom(src.fileDrop);
  droppedPaths = src.droppedPaths;
  spareValueA = src.spareValueA;
  leftOffset = src.leftOffset;
  paintGuard.CopyFrom(src.paintGuard);
  threadPool.CopyFrom(src.threadPool);
  poolMode = src.poolMode;
  spareValueB = src.spareValueB;
  keepAtEnd = src.keepAtEnd;
  noHorizontalScroll = src.noHorizontalScroll;
  disabled = src.disabled;
  spareText = src.spareText;
  rg_TavelkinJSON_package::CopyJsonDocumentFields(jsonDocument, src.jsonDocument);
  m_verticalBar.CopyFrom(src.m_verticalBar);
  m_horizontalBar.CopyFrom(src.m_horizontalBar);
  m_bottomStrip.CopyFrom(src.m_bottomStrip);
  m_rightStrip.CopyFrom(src.m_rightStrip);
  m_renameField.CopyFrom(src.m_renameField);
  m_canvas.CopyFrom(src.m_canvas);
  m_display.CopyFrom(src.m_display);
  m_renameTimer.CopyFrom(src.m_renameTimer);
  m_settleTimer.CopyFrom(src.m_settleTimer);
  // The rows' members, in their places among ours, come with the model.
  m_model = src.m_model;
  m_model.SetHost(this);
  MakeIdle(m_model);
  renameOnSlowClick = src.renameOnSlowClick;
  rowsThatFit = src.rowsThatFit;
  defaultTextColour = src.defaultTextColour;
  defaultTextBackground = src.defaultTextBackground;
  backgroundColour = src.backgroundColour;
  rowHeight = src.rowHeight;
  expandBoxWidth = src.expandBoxWidth;
  checkBoxWidth = src.checkBoxWidth;
  iconSize = src.iconSize;
  boxSize = src.boxSize;
  textHeight = src.textHeight;
  imageList = src.imageList;
  imageFlags = src.imageFlags;
  firstVisibleRow = src.firstVisibleRow;
  verticalScrollShown = src.verticalScrollShown;
  horizontalScrollShown = src.horizontalScrollShown;
  hoverRow = src.hoverRow;
  lineUnderMouse = src.lineUnderMouse;
  lastReportedHoverRow = src.lastReportedHoverRow;
  lineRows = src.lineRows;
  lineExpandX = src.lineExpandX;
  lineCheckX = src.lineCheckX;
  lineTextStart = src.lineTextStart;
  lineTextEnd = src.lineTextEnd;
  firstRowLocator = src.firstRowLocator;
  m_firstRowGeneration = src.m_firstRowGeneration;
  fullRowSelection = src.fullRowSelection;
  clearSelectionOnEmptyPress = src.clearSelectionOnEmptyPress;
  customRowHeight = src.customRowHeight;
  fontFace = src.fontFace;
  fontSize = src.fontSize;
  margin = src.margin;
  rowGap = src.rowGap;
  hoverUnderline = src.hoverUnderline;
  treeLines = src.treeLines;
  checkBoxes = src.checkBoxes;
  shown = src.shown;
  keyboardMoveFlag = src.keyboardMoveFlag;
  keyboardMoveLock = src.keyboardMoveLock;
  lineToolTips.CopyFrom(src.lineToolTips);
  reReportSameRow = src.reReportSameRow;
  renamePending = src.renamePending;
  releaseLine = src.releaseLine;
  contentWidth = src.contentWidth;
  canvasX = src.canvasX;
  m_workers.Resume();
}

// The stream form, member by member in declaration order; the model's
// members are written in their places among the tree box's own.
void rg_TavelkinShuXingKuang::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteText(m_text);
  fileDrop.SaveToStream(s);
  droppedPaths.SaveToStream(s);
  s.WriteInt32(spareValueA);
  s.WriteInt32(leftOffset);
  paintGuard.SaveToStream(s);
  threadPool.SaveToStream(s);
  for (int32_t v : {poolMode, spareValueB, keepAtEnd, noHorizontalScroll, disabled}) s.WriteInt32(v);
  s.WriteText(spareText);
  jsonDocument.SaveToStream(s);
  m_verticalBar.SaveToStream(s);
  m_horizontalBar.SaveToStream(s);
  m_bottomStrip.SaveToStream(s);
  m_rightStrip.SaveToStream(s);
  m_renameField.SaveToStream(s);
  m_canvas.SaveToStream(s);
  m_display.SaveToStream(s);
  m_renameTimer.SaveToStream(s);
  m_settleTimer.SaveToStream(s);
  m_model.SaveMember(TreeModelMember::kRowBuffer, s);
  s.WriteInt32(renameOnSlowClick);
  m_model.SaveMember(TreeModelMember::kRowMarker, s);
  m_model.SaveMember(TreeModelMember::kMarkerLength, s);
  m_model.SaveMember(TreeModelMember::kHeaderSize, s);
  m_model.SaveMember(TreeModelMember::kRowCount, s);
  s.WriteInt32(rowsThatFit);
  s.WriteUInt32(defaultTextColour);
  s.WriteUInt32(defaultTextBackground);
  s.WriteUInt32(backgroundColour);
  for (int32_t v : {rowHeight, expandBoxWidth, checkBoxWidth, iconSize, boxSize, textHeight}) s.WriteInt32(v);
  imageList.SaveToStream(s);
  imageFlags.SaveToStream(s);
  m_model.SaveMember(TreeModelMember::kRedrawEnabled, s);
  s.WriteInt32(firstVisibleRow);
  m_model.SaveMember(TreeModelMember::kCheckMode, s);
  s.WriteInt32(verticalScrollShown);
  s.WriteInt32(horizontalScrollShown);
  s.WriteInt32(hoverRow);
  m_model.SaveMember(TreeModelMember::kPendingAction, s);
  s.WriteInt32(lineUnderMouse);
  s.WriteInt32(lastReportedHoverRow);
  for (const TreeRowLocator* table : {&lineRows, &lineExpandX, &lineCheckX, &lineTextStart, &lineTextEnd,
                                      &firstRowLocator})
    table->SaveToStream(s);
  m_model.SaveMember(TreeModelMember::kShortHeaderMode, s);
  s.WriteInt32(fullRowSelection);
  s.WriteInt32(clearSelectionOnEmptyPress);
  s.WriteInt32(customRowHeight);
  s.WriteText(fontFace);
  s.WriteInt32(fontSize);
  m_model.SaveMember(TreeModelMember::kSelectedRow, s);
  for (int32_t v : {margin, rowGap, hoverUnderline, treeLines, checkBoxes}) s.WriteInt32(v);
  for (TreeModelMember member :
       {TreeModelMember::kVisibleListLength, TreeModelMember::kVisibleRowCount, TreeModelMember::kVisibleRowList,
        TreeModelMember::kRowOffsetIndex, TreeModelMember::kParentIndex, TreeModelMember::kSiblingIndex,
        TreeModelMember::kSubtreeEndIndex, TreeModelMember::kFifthIndex, TreeModelMember::kSixthIndex})
    m_model.SaveMember(member, s);
  s.WriteInt32(shown);
  s.WriteInt32(keyboardMoveFlag);
  // The keyboard-move lock's stream form is empty.
  lineToolTips.SaveToStream(s);
  for (int32_t v : {reReportSameRow, renamePending, releaseLine}) s.WriteInt32(v);
}

void rg_TavelkinShuXingKuang::LoadFromStream(CQzuStream& s) {
  if (!s.Ok()) return;
  CWString text;
  if (!s.ReadText(text)) return;
  m_workers.StopAndWait();
  m_text = text;
  fileDrop.LoadFromStream(s);
  droppedPaths.LoadFromStream(s);
  s.ReadInt32(spareValueA);
  s.ReadInt32(leftOffset);
  paintGuard.LoadFromStream(s);
  threadPool.LoadFromStream(s);
  for (int32_t* v : {&poolMode, &spareValueB, &keepAtEnd, &noHorizontalScroll, &disabled}) s.ReadInt32(*v);
  s.ReadText(spareText);
  jsonDocument.LoadFromStream(s);
  m_verticalBar.LoadFromStream(s);
  m_horizontalBar.LoadFromStream(s);
  m_bottomStrip.LoadFromStream(s);
  m_rightStrip.LoadFromStream(s);
  m_renameField.LoadFromStream(s);
  m_canvas.LoadFromStream(s);
  m_display.LoadFromStream(s);
  m_renameTimer.LoadFromStream(s);
  m_settleTimer.LoadFromStream(s);
  m_model.LoadMember(TreeModelMember::kRowBuffer, s);
  s.ReadInt32(renameOnSlowClick);
  m_model.LoadMember(TreeModelMember::kRowMarker, s);
  m_model.LoadMember(TreeModelMember::kMarkerLength, s);
  m_model.LoadMember(TreeModelMember::kHeaderSize, s);
  m_model.LoadMember(TreeModelMember::kRowCount, s);
  s.ReadInt32(rowsThatFit);
  s.ReadUInt32(defaultTextColour);
  s.ReadUInt32(defaultTextBackground);
  s.ReadUInt32(backgroundColour);
  for (int32_t* v : {&rowHeight, &expandBoxWidth, &checkBoxWidth, &iconSize, &boxSize, &textHeight}) s.ReadInt32(*v);
  imageList.LoadFromStream(s);
  imageFlags.LoadFromStream(s);
  m_model.LoadMember(TreeModelMember::kRedrawEnabled, s);
  s.ReadInt32(firstVisibleRow);
  m_model.LoadMember(TreeModelMember::kCheckMode, s);
  s.ReadInt32(verticalScrollShown);
  s.ReadInt32(horizontalScrollShown);
  s.ReadInt32(hoverRow);
  m_model.LoadMember(TreeModelMember::kPendingAction, s);
  s.ReadInt32(lineUnderMouse);
  s.ReadInt32(lastReportedHoverRow);
  for (TreeRowLocator* table : {&lineRows, &lineExpandX, &lineCheckX, &lineTextStart, &lineTextEnd, &firstRowLocator})
    table->LoadFromStream(s);
  m_model.LoadMember(TreeModelMember::kShortHeaderMode, s);
  s.ReadInt32(fullRowSelection);
  s.ReadInt32(clearSelectionOnEmptyPress);
  s.ReadInt32(customRowHeight);
  s.ReadText(fontFace);
  s.ReadInt32(fontSize);
  m_model.LoadMember(TreeModelMember::kSelectedRow, s);
  for (int32_t* v : {&margin, &rowGap, &hoverUnderline, &treeLines, &checkBoxes}) s.ReadInt32(*v);
  for (TreeModelMember member :
       {TreeModelMember::kVisibleListLength, TreeModelMember::kVisibleRowCount, TreeModelMember::kVisibleRowList,
        TreeModelMember::kRowOffsetIndex, TreeModelMember::kParentIndex, TreeModelMember::kSiblingIndex,
        TreeModelMember::kSubtreeEndIndex, TreeModelMember::kFifthIndex, TreeModelMember::kSixthIndex})
    m_model.LoadMember(member, s);
  s.ReadInt32(shown);
  s.ReadInt32(keyboardMoveFlag);
  lineToolTips.LoadFromStream(s);
  for (int32_t* v : {&reReportSameRow, &renamePending, &releaseLine}) s.ReadInt32(*v);
  // Nothing of this tree box's own passes is running: the loaded busy flags
  // describe another run.
  MakeIdle(m_model);
  m_firstRowGeneration = -1;
  m_workers.Resume();
}

int rg_TavelkinShuXingKuang::AddTreeImage(const CQzuMem& imageBytes) {
  auto* picture = new rg_Ombrine_base::rg_WeiTuDuiXiangLei();
  if (!imageBytes.IsNull()) picture->LoadFromBytes(imageBytes);
  const int index = imageList.GetCount();
  imageList.Add(picture);
  iconSize = std::max(picture->GetWidth(), picture->GetHeight());
  imageFlags.Add(-1);
  int result = index;
  if (iconSize == 0) {
    imageList.Empty();
    imageFlags.Empty();
    result = -1;
  }
  if (m_model.GetRedrawEnabled()) PaintTreeBox(-1);
  return result;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
