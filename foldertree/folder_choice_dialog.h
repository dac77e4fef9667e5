#pragma once
// rg_TavelkinLiuLanWenJianGaLei: the modal folder-choice dialog "选择文件夹".
// The user picks a folder in the folder tree (101, without check boxes),
// types or pastes a path into the path box (107; "粘贴" puts the clipboard's
// text there and opens the tree at it), or drops an item on the tree (the
// tree goes to the folder holding it). The path box follows the selected
// row, also when that row is renamed. "确定" ends a rename still open, then
// returns the path box's text, unchanged, when it names an existing file or
// folder; otherwise it says "文件夹不存在：" + the text and the dialog stays
// open. "取消" and closing the window return nothing; "新建" makes a folder
// in the selected one and starts its rename.
//
// Children: 101 folder tree, 102 hint label (the caller's prompt), 103 "确定",
// 104 "取消", 105 "新建", 106 "粘贴" (over the right end of the path box,
// whose right margin keeps the text clear of it), 107 path box. The dialog
// runs in the framework's envelope dialog; ShowFolderChoiceDialog returns
// when it has ended. UI thread only.
#include "components/owner_drawn_button.h"
#include "foldertree/folder_tree.h"
#include "framework/edit_box.h"
#include "framework/label.h"
#include "framework/win_form.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

inline constexpr int kDialogTreeId = 101;
inline constexpr int kDialogHintId = 102;
inline constexpr int kDialogOkId = 103;
inline constexpr int kDialogCancelId = 104;
inline constexpr int kDialogNewFolderId = 105;
inline constexpr int kDialogPasteId = 106;
inline constexpr int kDialogPathBoxId = 107;
// The prompt of the batch command, which asks for the folder of the files.
inline constexpr char16_t kBatchFolderPrompt[] =
    u"选择要转换的文件所在文件夹\r\n（如果要直接选择文件，请关掉本窗口，在按下Ctrl键时再开始）";

class rg_TavelkinLiuLanWenJianGaLei : public rg_Ombrine_MFCJieMian_base::CQzuWinForm {
  QZU_DECLARE_CLASS(rg_TavelkinLiuLanWenJianGaLei)

 public:
  using Button = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;

  // ConstructFolderChoiceDialog: the members, the caption "选择文件夹"; no window.
  rg_TavelkinLiuLanWenJianGaLei();
  // DestroyFolderChoiceDialog: the receiver is detached before the members go.
  ~rg_TavelkinLiuLanWenJianGaLei() override;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses other classes; the form part (sharing its window), then every
  // member in declaration order.
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 562 x 606 logical pixels. On a screen whose available area is lower
  // than that (less the window frame), the dialog opens lower by giving the
  // folder tree less height, down to a quarter of its own; the rows below
  // the tree move up with it.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // Shows the dialog with `prompt` (CR LF breaks lines), the tree opened at
  // `startFolder` when that exists, and waits until it ends: the chosen path,
  // or the empty text.
  CWString ShowFolderChoiceDialog(const CWString& prompt, const CWString& startFolder);

  // The handlers; each returns 0.
  intptr_t OnDialogShown();
  intptr_t OnDialogCreated();
  intptr_t OnDialogFolderChosen();
  intptr_t OnDialogFilesDropped(CQzuObject* sender, const CMStringArray& paths);
  intptr_t OnFolderDialogButton(CQzuObject* sender);

  // ---- members, in declaration (copy and stream) order ----
  rg_TavelkinMuLuShuKuang1 folderTree;
  rg_Ombrine_MFCJieMian_base::rg_label8 hintLabel;
  Button okButton;
  Button cancelButton;
  Button newFolderButton;
  Button pasteButton;
  rg_Ombrine_MFCJieMian_base::rg_edit_box pathBox;
  CWString startFolder;  // where the tree opens when shown; emptied once used
  CWString resultText;

 protected:
  // CreateFolderDialogChildren.
  void CreateChildren() override;

 private:
  void CreateButton(Button& button, int id, const char16_t* caption, int x, int y, int width, int height,
                    const char16_t* font, int imageSize, int32_t icon);

  CQzuReceiverRef m_receiver;
  int32_t m_destroying = 0;
  int m_treeShrink = 0;  // device pixels the tree gives up to fit the screen
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
