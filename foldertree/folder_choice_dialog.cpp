#include "foldertree/folder_choice_dialog.h"

#include <algorithm>

#include "common/dpi.h"
#include "framework/screen_area.h"
#include "framework/window_fit.h"
#include "platform/file_system_ops.h"
#include "platform/hooks.h"
#include "textlib/path_helpers.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

QZU_IMPLEMENT_CLASS(rg_TavelkinLiuLanWenJianGaLei, rg_Ombrine_MFCJieMian_base::CQzuWinForm,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinLiuLanWenJianGaLei")

namespace {

constexpr char16_t kDialogCaption[] = u"选择文件夹";
constexpr char16_t kHintFont[] = u"微软雅黑, 13, 0, 0, 0, 0, 0";
constexpr char16_t kButtonFont[] = u"微软雅黑, 15, 0, 0, 0, 0, 0";
constexpr char16_t kPasteFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
constexpr char16_t kPathBoxFont[] = u"微软雅黑, 13, 0, 0, 0, 0, 0";
constexpr char16_t kHintToolTip[] = u"选择文件夹后点击确定";
constexpr char16_t kPathToolTip[] = u"可以直接粘贴文件夹地址，再点击确定";
constexpr char16_t kFolderMissingMessage[] = u"文件夹不存在：";
constexpr int32_t kOkIcon = 512;
constexpr int32_t kCancelIcon = 513;
constexpr int32_t kNewFolderIcon = 515;
constexpr int32_t kPasteIcon = 509;
// The gap between the typed text and the paste button, in logical pixels.
constexpr int kPasteGap = 6;
// The folder tree's design height, and the least it is given on a low screen.
constexpr int kTreeHeight = 424;
constexpr int kLeastTreeHeight = kTreeHeight / 4;

rg_TavelkinLiuLanWenJianGaLei* Self(CQzuObject* r) { return static_cast<rg_TavelkinLiuLanWenJianGaLei*>(r); }

intptr_t Shown(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnDialogShown(); }
intptr_t Created(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->OnDialogCreated(); }
intptr_t FolderChosen(CQzuObject* r, CQzuObject*, intptr_t, int) { return Self(r)->OnDialogFolderChosen(); }
intptr_t FilesDropped(CQzuObject* r, CQzuObject* sender, intptr_t, const CMStringArray& paths) {
  return Self(r)->OnDialogFilesDropped(sender, paths);
}
intptr_t ButtonClicked(CQzuObject* r, CQzuObject* sender, intptr_t) { return Self(r)->OnFolderDialogButton(sender); }

}  // namespace

rg_TavelkinLiuLanWenJianGaLei::rg_TavelkinLiuLanWenJianGaLei() : m_receiver(CQzuReceiverRef::Make(this)) {
  SetCaption(kDialogCaption);
}

rg_TavelkinLiuLanWenJianGaLei::~rg_TavelkinLiuLanWenJianGaLei() {
  m_destroying = 1;
  m_receiver->Detach();
}

bool rg_TavelkinLiuLanWenJianGaLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinLiuLanWenJianGaLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinLiuLanWenJianGaLei, source)
  CQzuWinForm::CopyFrom(src);
  folderTree.CopyFrom(src.folderTree);
  hintLabel.CopyFrom(src.hintLabel);
  okButton.CopyFrom(src.okButton);
  cancelButton.CopyFrom(src.cancelButton);
  newFolderButton.CopyFrom(src.newFolderButton);
  pasteButton.CopyFrom(src.pasteButton);
  pathBox.CopyFrom(src.pathBox);
  startFolder = src.startFolder;
  resultText = src.resultText;
  return 1;
}

void rg_TavelkinLiuLanWenJianGaLei::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  CQzuWinForm::SaveToStream(s);
  folderTree.SaveToStream(s);
  hintLabel.SaveToStream(s);
  for (const Button* b : {&okButton, &cancelButton, &newFolderButton, &pasteButton}) b->SaveToStream(s);
  pathBox.SaveToStream(s);
  s.WriteText(startFolder);
  s.WriteText(resultText);
}

void rg_TavelkinLiuLanWenJianGaLei::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  CQzuWinForm::LoadFromStream(s);
  folderTree.LoadFromStream(s);
  hintLabel.LoadFromStream(s);
  for (Button* b : {&okButton, &cancelButton, &newFolderButton, &pasteButton}) b->LoadFromStream(s);
  pathBox.LoadFromStream(s);
  s.ReadText(startFolder);
  s.ReadText(resultText);
}

int rg_TavelkinLiuLanWenJianGaLei::DefaultWidth() const { return ScaleByDpiFactor(562); }
int rg_TavelkinLiuLanWenJianGaLei::DefaultHeight() const { return ScaleByDpiFactor(606); }

CWString rg_TavelkinLiuLanWenJianGaLei::ShowFolderChoiceDialog(const CWString& prompt, const CWString& start) {
  hintLabel.SetCaption(prompt);
  resultText.Empty();
  startFolder = start;
  // Fit the screen's available area as the main window does, by the tree's
  // height (a shorter tree only scrolls sooner).
  const QSize room = AvailableClientSize(AvailableScreenArea().size(), GetDpiFactor());
  const int height = DefaultHeight();
  m_treeShrink = 0;
  if (!room.isEmpty() && height > room.height())
    m_treeShrink = std::min(height - room.height(), ScaleByDpiFactor(kTreeHeight) - ScaleByDpiFactor(kLeastTreeHeight));
  CreateModal(nullptr, DefaultWidth(), height - m_treeShrink, 0xFFFF);
  return resultText;
}

// ---- children ----

void rg_TavelkinLiuLanWenJianGaLei::CreateButton(Button& button, int id, const char16_t* caption, int x, int y,
                                                 int width, int height, const char16_t* font, int imageSize,
                                                 int32_t icon) {
  button.ClickEvent.Connect(&ButtonClicked, m_receiver);
  button.AttachListener();
  button.SetButtonText(caption);
  button.RedrawButton();
  button.imageRenderWidth = imageSize;
  button.imageRenderHeight = imageSize;
  // Every button lies below the tree and moves up with its bottom.
  button.Create(this, ScaleByDpiFactor(x), ScaleByDpiFactor(y) - m_treeShrink, ScaleByDpiFactor(width),
                ScaleByDpiFactor(height), id);
  button.SetButtonFont(font);
  button.SetButtonSvgResource(icon);
}

void rg_TavelkinLiuLanWenJianGaLei::CreateChildren() {
  auto S = [](int v) { return ScaleByDpiFactor(v); };
  OnShown.Connect(&Shown, m_receiver);
  AttachListener();
  OnCreated.Connect(&Created, m_receiver);
  AttachListener();
  folderTree.FolderPathEvent.Connect(&FolderChosen, m_receiver);
  folderTree.AttachListener();
  folderTree.FilesDroppedEvent.Connect(&FilesDropped, m_receiver);
  folderTree.AttachListener();

  folderTree.Create(this, S(7), S(64), S(544), S(kTreeHeight) - m_treeShrink, kDialogTreeId);
  rg_TavelkinShuXingKuang& box = folderTree.TreeBox();
  box.checkBoxes = 0;
  box.PaintTreeBox(-1);
  box.fileDrop.EnableFileDrop(box.Display());

  hintLabel.SetMultiLine(true);
  hintLabel.SetFontText(kHintFont);
  hintLabel.Create(this, S(7), S(6), S(544), S(58), kDialogHintId);
  hintLabel.SetToolTip(kHintToolTip);

  CreateButton(okButton, kDialogOkId, u"确定", 263, 542, 136, 48, kButtonFont, 28, kOkIcon);
  CreateButton(cancelButton, kDialogCancelId, u"取消", 415, 542, 136, 48, kButtonFont, 28, kCancelIcon);
  CreateButton(newFolderButton, kDialogNewFolderId, u"新建", 7, 542, 136, 48, kButtonFont, 32, kNewFolderIcon);
  CreateButton(pasteButton, kDialogPasteId, u"粘贴", 484, 500, 64, 26, kPasteFont, 16, kPasteIcon);
  pasteButton.SetButtonToolTip(kPathToolTip);

  pathBox.SetFontText(kPathBoxFont);
  pathBox.Create(this, S(7), S(497) - m_treeShrink, S(544), S(32), kDialogPathBoxId);
  pathBox.SetToolTip(kPathToolTip);
  // The paste button was made first and lies over the box's right end: Qt
  // draws the later sibling on top, so it is raised again.
  if (QWidget* w = pasteButton.GetWidget()) w->raise();
}

// ---- handlers ----

intptr_t rg_TavelkinLiuLanWenJianGaLei::OnDialogCreated() {
  int left = 0, top = 0, right = 0, bottom = 0;
  const int width = pasteButton.GetWindowRect(left, top, right, bottom) ? right - left : 0;
  if (pathBox.HasWindow()) pathBox.SetMargins(-1, width + static_cast<int>(kPasteGap * GetDpiFactor()));
  return 0;
}

intptr_t rg_TavelkinLiuLanWenJianGaLei::OnDialogShown() {
  if (!startFolder.IsEmpty()) {
    const CWString start = startFolder;
    startFolder.Empty();
    folderTree.GoToFolderPath(start);
  }
  return 0;
}

intptr_t rg_TavelkinLiuLanWenJianGaLei::OnDialogFolderChosen() {
  pathBox.SetText(folderTree.GetSelectedFolderPath());
  return 0;
}

intptr_t rg_TavelkinLiuLanWenJianGaLei::OnDialogFilesDropped(CQzuObject* sender, const CMStringArray& paths) {
  if (sender != &folderTree || paths.IsEmpty()) return 0;
  // The folder that holds the first item, file or folder alike ("/" for an
  // item right under the root).
  const CWString item = StripTrailingBackslash(paths[0]);
  CWString folder = PathFolder(item);
  if (folder.IsEmpty() && item.StartsWith(kPathSeparatorText)) folder = kPathSeparatorText;
  folderTree.GoToFolderPath(folder);
  return 0;
}

intptr_t rg_TavelkinLiuLanWenJianGaLei::OnFolderDialogButton(CQzuObject* sender) {
  if (sender == &pasteButton) {
    pathBox.SetText(GetClipboardText());
    folderTree.GoToFolderPath(pathBox.GetText());
    return 0;
  }
  if (sender == &newFolderButton) {
    folderTree.CreateNewFolder();
    return 0;
  }
  if (sender == &okButton) {
    // A rename still open in the tree ends first, so that the path box names
    // the folder by the name it has now.
    rg_TavelkinShuXingKuang& box = folderTree.TreeBox();
    if (box.RenameField().IsVisible()) box.CommitRowRename(&box.RenameField());
    // Only an absolute path names a place: the captions of the computer and
    // group rows must not be found as relative names in the current folder.
    const CWString typed = pathBox.GetText();
    if (!typed.StartsWith(kPathSeparatorText) || !PathExists(typed)) {
      // Closing would end the command as if nothing had been chosen.
      ShowMessageBox(kFolderMissingMessage + typed, kMessageCaption, kMbOk | kMbIconWarning);
      return 0;
    }
    resultText = typed;
  }
  CloseForm();
  return 0;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
