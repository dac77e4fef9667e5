#pragma once
// rg_TavelkinShuRuKuangLei, the input box: a resizable, always-on-top form
// that shows a text in a large editor under a prompt. ShowInputBox opens it
// in one of two modes and waits (pumping messages, sleeping 1 ms) until its
// window is gone:
//   view mode (no result text): the editor is grey (0xECECEC) and read-only,
//     only the "关闭" button shows; the call returns 0;
//   input mode: the editor is white and editable, the bar of "恢复", "清空"
//     and "粘贴" and the "确定" button show and the close button reads
//     "取消"; "确定" hands the editor's text back and the call returns 1.
// The import buttons ("导入内容", "导入路径") are made but ShowInputBox keeps
// them hidden; their handler still works. Files dropped on the editor replace
// its text with their paths joined by CR LF, in both modes. Closing with the
// title bar, Esc or the desktop's session end asks "内容已经修改，确认要放弃？"
// when the editable text differs from the one the box was opened with;
// "确定" and "取消" never ask.
//
// The object lives for the whole run without a window until it is shown; its
// member values (the editor's text, the result, the measured character cell,
// the captions) survive between showings. A second ShowInputBox while the box
// is shown returns 0 at once. The box is equal only to itself. UI thread only.
#include <cstdint>

#include "common/event.h"
#include "components/owner_drawn_button.h"
#include "components/rich_edit_with_menu.h"
#include "framework/edit_box.h"
#include "framework/painter.h"
#include "framework/win_container.h"
#include "framework/win_form.h"
#include "textlib/position_record.h"

namespace rg_Tavelkin_MingLingJi {

// Ids of the children.
inline constexpr int kInputBoxBarId = 101;
inline constexpr int kInputBoxRestoreId = 102;
inline constexpr int kInputBoxClearId = 103;
inline constexpr int kInputBoxPasteId = 104;
inline constexpr int kInputBoxImportContentsId = 105;
inline constexpr int kInputBoxImportPathsId = 106;
inline constexpr int kInputBoxOkId = 107;
inline constexpr int kInputBoxPromptId = 108;
inline constexpr int kInputBoxCanvasId = 109;
inline constexpr int kInputBoxEditorId = 110;
inline constexpr int kInputBoxCloseId = 111;
// The content that keeps the editor's current text.
inline constexpr char16_t kInputBoxKeepText[] = u"-1";
// The editor's background in each mode.
inline constexpr COLORREF kInputBoxViewBackground = 0xECECEC;
inline constexpr COLORREF kInputBoxInputBackground = 0xFFFFFF;

class rg_TavelkinShuRuKuangLei : public rg_Ombrine_MFCJieMian_base::CQzuWinForm {
  QZU_DECLARE_CLASS(rg_TavelkinShuRuKuangLei)
 public:
  using Button = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;

  // ConstructInputBox: the members, the form's properties (sizable,
  // minimise and maximise boxes, always on top, Esc closes) and the editor's
  // menu; no window.
  rg_TavelkinShuRuKuangLei();
  // DestroyInputBox: marks the object as going and detaches its receiver
  // before the members go (a window still open goes with them).
  ~rg_TavelkinShuRuKuangLei() override;

  bool IsEqual(const CQzuObject& other) const override;
  // CopyInputBoxValues: the form part (sharing its window), the result, the
  // OK flag, the cell record and every child in declaration order (children
  // share their windows).
  int CopyFrom(const CQzuObject& source) override;
  // The form part, then the members in declaration order.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 884 x 610 logical pixels, scaled and rounded.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // Shows `content` (kInputBoxKeepText keeps the editor's text) under
  // `prompt` with the caption `title` ("信息：" in view mode and "输入：" in
  // input mode when it is empty) and waits until the box closes. A null
  // `result`, or one whose null flag is set, selects the view mode; otherwise
  // it receives the editor's text when the box is closed with "确定". Returns
  // 1 for "确定", else 0 (also when the box is already shown). The window is
  // owned by MainWindowPointer() when that is set.
  int ShowInputBox(const CWString& content, const CWString& prompt, const CWString& title, CWString* result);

  // The event handlers (Algorithms of the box); each returns what its event
  // reads: 0, or for the closing query 1 to keep the box open.
  intptr_t LayoutInputBoxButtons();
  intptr_t LayoutInputBox(int clientWidth, int clientHeight);
  intptr_t ConfirmDiscardInputBox();
  intptr_t DropFilesIntoInputBox(const CMStringArray& paths);
  // The click of any of the seven buttons; the sender tells them apart.
  intptr_t HandleInputBoxClick(const CQzuObject* sender);

  // ---- members, in declaration (copy and stream) order ----
  CWString resultText;  // the editor's text when "确定" was pressed
  int32_t okFlag = 0;   // 1 once "确定" was pressed in this showing
  rg_TavelkinWeiZhiLei cellMetrics;  // one character cell of the prompt's font
  rg_Ombrine_MFCJieMian_base::rg_TuPianKuang buttonBar;
  Button restoreButton;
  Button clearButton;
  Button pasteButton;
  Button importContentsButton;
  Button importPathsButton;
  Button okButton;
  rg_Ombrine_MFCJieMian_base::rg_edit_box promptBox;
  rg_Ombrine_MFCJieMian_base::rg_painter measuringCanvas;
  // Its text member holds the opening text (what "恢复" brings back).
  rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinChaoJiBianJiKuang1 editor;
  Button closeButton;

 protected:
  // CreateInputBoxControls.
  void CreateChildren() override;

 private:
  void CreateButton(Button& button, CQzuWinControl* parent, int id, const char16_t* caption, int x, int y, int width,
                    int renderSize, int32_t icon);
  // Fills the editor from the chosen files, as the import buttons do.
  void ImportFiles(bool paths);

  CQzuReceiverRef m_receiver;
  int32_t m_destroying = 0;
};

}  // namespace rg_Tavelkin_MingLingJi
