#include "components/input_box.h"

#include <cmath>

#include "common/dpi.h"
#include "components/title_hint.h"
#include "framework/file_dialog.h"
#include "framework/message_pump.h"
#include "platform/hooks.h"
#include "textlib/open_address.h"
#include "textlib/text_file_load.h"
#include "textlib/text_height.h"
#include "textlib/text_join.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinShuRuKuangLei, rg_Ombrine_MFCJieMian_base::CQzuWinForm,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinShuRuKuangLei")

namespace {

using rg_TavelkinMingLingJi_ChuangKouZuJian::kButtonDisabled;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kButtonNormal;

constexpr char16_t kButtonFont[] = u"微软雅黑, 16, 0, 0, 0, 0, 0";
constexpr char16_t kPromptFont[] = u"微软雅黑, 12, 0, 0, 0, 0, 0";
constexpr char16_t kCanvasFont[] = u"微软雅黑, 13, 0, 0, 0, 0, 0";
constexpr char16_t kEditorFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
constexpr COLORREF kPromptTextColour = 0x008000;
// WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE: the prompt has no edge at all.
constexpr uint32_t kPromptEdgeStyles = 0x20201;
constexpr int32_t kRestoreIcon = 507;
constexpr int32_t kClearIcon = 508;
constexpr int32_t kPasteIcon = 509;
constexpr int32_t kImportContentsIcon = 510;
constexpr int32_t kImportPathsIcon = 511;
constexpr int32_t kOkIcon = 512;
constexpr int32_t kCloseIcon = 513;
// MB_OKCANCEL | MB_SYSTEMMODAL | MB_TASKMODAL, no icon.
constexpr int kDiscardQuestionStyle = 0x3001;
constexpr char16_t kLineBreak[] = u"\r\n";

rg_TavelkinShuRuKuangLei* Self(CQzuObject* receiver) { return static_cast<rg_TavelkinShuRuKuangLei*>(receiver); }

intptr_t OnBoxCreated(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->LayoutInputBoxButtons(); }
intptr_t OnBoxSize(CQzuObject* r, CQzuObject*, intptr_t, int width, int height) {
  return Self(r)->LayoutInputBox(width, height);
}
intptr_t OnBoxCloseQuery(CQzuObject* r, CQzuObject*, intptr_t) { return Self(r)->ConfirmDiscardInputBox(); }
intptr_t OnEditorFilesDropped(CQzuObject* r, CQzuObject*, intptr_t, const CMStringArray& paths) {
  return Self(r)->DropFilesIntoInputBox(paths);
}
intptr_t OnButtonClick(CQzuObject* r, CQzuObject* sender, intptr_t) { return Self(r)->HandleInputBoxClick(sender); }

// Paths joined by CR LF with nothing after the last, as stems when asked.
CWString JoinPaths(const CMStringArray& paths, bool stems) {
  CWString separator(kLineBreak);
  return JoinItems(paths, separator, 1, stems ? 1 : 0, 0, CMStringArray());
}

}  // namespace

rg_TavelkinShuRuKuangLei::rg_TavelkinShuRuKuangLei() : m_receiver(CQzuReceiverRef::Make(this)) {
  SetMinMaxButtons(true, true);
  SetBorderStyle(1);
  SetTopMost(true);
  SetEscCloses(true);
  // The editor's menu object is made and attached by its own constructor.
}

rg_TavelkinShuRuKuangLei::~rg_TavelkinShuRuKuangLei() {
  m_destroying = 1;
  m_receiver->Detach();
}

// ---- object operations ----

bool rg_TavelkinShuRuKuangLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinShuRuKuangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinShuRuKuangLei, source)
  CQzuWinForm::CopyFrom(src);
  resultText = src.resultText;
  okFlag = src.okFlag;
  cellMetrics.CopyFrom(src.cellMetrics);
  buttonBar.CopyFrom(src.buttonBar);
  restoreButton.CopyFrom(src.restoreButton);
  clearButton.CopyFrom(src.clearButton);
  pasteButton.CopyFrom(src.pasteButton);
  importContentsButton.CopyFrom(src.importContentsButton);
  importPathsButton.CopyFrom(src.importPathsButton);
  okButton.CopyFrom(src.okButton);
  promptBox.CopyFrom(src.promptBox);
  measuringCanvas.CopyFrom(src.measuringCanvas);
  editor.CopyFrom(src.editor);
  closeButton.CopyFrom(src.closeButton);
  return 1;
}

void rg_TavelkinShuRuKuangLei::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  CQzuWinForm::SaveToStream(s);
  s.WriteText(resultText);
  s.WriteInt32(okFlag);
  cellMetrics.SaveToStream(s);
  buttonBar.SaveToStream(s);
  for (const Button* b : {&restoreButton, &clearButton, &pasteButton, &importContentsButton, &importPathsButton,
                          &okButton})
    b->SaveToStream(s);
  promptBox.SaveToStream(s);
  measuringCanvas.SaveToStream(s);
  editor.SaveToStream(s);
  closeButton.SaveToStream(s);
}

void rg_TavelkinShuRuKuangLei::LoadFromStream(CQzuStream& s) {
  // A short read sets the stream's error; every later read then does nothing.
  CQzuWinForm::LoadFromStream(s);
  s.ReadText(resultText);
  s.ReadInt32(okFlag);
  cellMetrics.LoadFromStream(s);
  buttonBar.LoadFromStream(s);
  for (Button* b : {&restoreButton, &clearButton, &pasteButton, &importContentsButton, &importPathsButton, &okButton})
    b->LoadFromStream(s);
  promptBox.LoadFromStream(s);
  measuringCanvas.LoadFromStream(s);
  editor.LoadFromStream(s);
  closeButton.LoadFromStream(s);
}

int rg_TavelkinShuRuKuangLei::DefaultWidth() const { return ScaleByDpiFactor(884); }
int rg_TavelkinShuRuKuangLei::DefaultHeight() const { return ScaleByDpiFactor(610); }

// ---- showing ----

int rg_TavelkinShuRuKuangLei::ShowInputBox(const CWString& content, const CWString& prompt, const CWString& title,
                                            CWString* result) {
  if (HasWindow()) return 0;
  const bool inputMode = result && !result->IsNull();
  promptBox.SetCaption(prompt);
  okFlag = 0;
  if (content != kInputBoxKeepText) editor.SetCaption(content);
  // The opening text is what "恢复" brings back and what the discard question
  // compares with: the text the editor opens with, also when that is the
  // kept one ("-1" would otherwise come back as those two characters).
  editor.SetTextMember(inputMode ? editor.GetCaption() : CWString());
  SetCaption(!title.IsEmpty() ? title : CWString(inputMode ? u"输入：" : u"信息："));

  importContentsButton.SetVisible(false);
  importPathsButton.SetVisible(false);
  okButton.SetVisible(inputMode);
  buttonBar.SetVisible(inputMode);
  editor.SetBackColour(inputMode ? kInputBoxInputBackground : kInputBoxViewBackground);
  editor.SetReadOnly(!inputMode);
  closeButton.SetButtonText(inputMode ? u"取消" : u"关闭");
  // A button whose click closed the last showing never saw its release: it
  // would open pressed.
  for (Button* b : {&restoreButton, &clearButton, &pasteButton, &importContentsButton, &importPathsButton, &okButton,
                    &closeButton}) {
    b->pressed = 0;
    if (b->visualState != kButtonDisabled) b->visualState = kButtonNormal;
  }

  CQzuWinControl* owner = MainWindowPointer();
  if (!CreateForm(owner && owner->HasWindow() ? owner : nullptr)) return 0;
  WaitWhileWindowExists(*this);

  if (okFlag && inputMode) *result = resultText;
  int start = 0, end = 0;
  editor.GetSel(start, end);
  editor.SetSel(start, start);
  return okFlag;
}

// ---- children ----

void rg_TavelkinShuRuKuangLei::CreateButton(Button& button, CQzuWinControl* parent, int id, const char16_t* caption,
                                            int x, int y, int width, int renderSize, int32_t icon) {
  button.ClickEvent.Connect(&OnButtonClick, m_receiver);
  if (caption) button.SetButtonText(caption);
  button.RedrawButton();
  button.imageRenderWidth = renderSize;
  button.imageRenderHeight = renderSize;
  button.Create(parent, ScaleByDpiFactor(x), ScaleByDpiFactor(y), ScaleByDpiFactor(width), ScaleByDpiFactor(45), id);
  button.SetButtonFont(kButtonFont);
  button.SetButtonSvgResource(icon);
}

void rg_TavelkinShuRuKuangLei::CreateChildren() {
  OnCreated.Connect(&OnBoxCreated, m_receiver);
  OnSize.Connect(&OnBoxSize, m_receiver);
  OnCloseQuery.Connect(&OnBoxCloseQuery, m_receiver);

  buttonBar.Create(this, ScaleByDpiFactor(10), ScaleByDpiFactor(339), ScaleByDpiFactor(595), ScaleByDpiFactor(51),
                   kInputBoxBarId);
  CreateButton(restoreButton, &buttonBar, kInputBoxRestoreId, u"恢复", 0, 0, 96, 32, kRestoreIcon);
  CreateButton(clearButton, &buttonBar, kInputBoxClearId, u"清空", 101, 0, 96, 28, kClearIcon);
  CreateButton(pasteButton, &buttonBar, kInputBoxPasteId, u"粘贴", 202, 0, 96, 28, kPasteIcon);
  CreateButton(importContentsButton, &buttonBar, kInputBoxImportContentsId, u"导入内容", 303, 0, 136, 28,
               kImportContentsIcon);
  CreateButton(importPathsButton, &buttonBar, kInputBoxImportPathsId, u"导入路径", 445, 0, 136, 28,
               kImportPathsIcon);
  CreateButton(okButton, this, kInputBoxOkId, u"确定", 611, 339, 96, 28, kOkIcon);

  promptBox.SetFontText(kPromptFont);
  promptBox.AddStyle(qzu_win::kEsMultiline);
  promptBox.RemoveStyle(qzu_win::kWsBorder | qzu_win::kWsVScroll | qzu_win::kWsHScroll | qzu_win::kEsReadOnly);
  promptBox.SetExStyle(promptBox.GetExStyle() & ~kPromptEdgeStyles);
  promptBox.SetTextColour(kPromptTextColour);
  promptBox.SetBackColour(rg_Ombrine_MFCJieMian_base::kButtonFaceSentinel);
  promptBox.Create(this, ScaleByDpiFactor(5), ScaleByDpiFactor(6), ScaleByDpiFactor(464), ScaleByDpiFactor(40),
                   kInputBoxPromptId);

  measuringCanvas.SetFontText(kCanvasFont);
  measuringCanvas.SetVisible(false);
  measuringCanvas.Create(this, ScaleByDpiFactor(493), ScaleByDpiFactor(86), ScaleByDpiFactor(136),
                         ScaleByDpiFactor(32), kInputBoxCanvasId);

  editor.SetFontText(kEditorFont);
  editor.AddStyle(qzu_win::kWsVScroll);
  editor.RemoveStyle(qzu_win::kWsBorder);
  editor.SetExStyle(editor.GetExStyle() | qzu_win::kWsExStaticEdge);
  editor.SetWordWrap(true);
  editor.AcceptFiles(true);
  editor.OnFilesDropped.Connect(&OnEditorFilesDropped, m_receiver);
  editor.Create(this, ScaleByDpiFactor(5), ScaleByDpiFactor(62), ScaleByDpiFactor(480), ScaleByDpiFactor(184),
                kInputBoxEditorId);

  CreateButton(closeButton, this, kInputBoxCloseId, nullptr, 714, 339, 96, 28, kCloseIcon);
}

// ---- handlers ----

intptr_t rg_TavelkinShuRuKuangLei::LayoutInputBoxButtons() {
  CQzuDC& dc = measuringCanvas.GetDC();
  const QSize ideograph = dc.GetTextExtent(u"中");
  const QSize letter = dc.GetTextExtent(u"A");
  const int cellWidth = static_cast<int>(std::ceil((ideograph.width() + letter.width()) / 3.0));
  cellMetrics.SetSize(cellWidth, ideograph.height() + 1);
  buttonBar.Move(buttonBar.GetLeft(), buttonBar.GetTop(), importPathsButton.GetLeft() + importPathsButton.GetWidth(),
                 importPathsButton.GetHeight());
  editor.SetFocus();
  return 0;
}

intptr_t rg_TavelkinShuRuKuangLei::LayoutInputBox(int clientWidth, int clientHeight) {
  const int promptHeight = EstimateTextHeight(promptBox.GetCaption(), clientWidth - 12, cellMetrics);
  promptBox.Move(5, 5, clientWidth - 10, promptHeight);
  const int barHeight = buttonBar.GetHeight();
  const int editorTop = promptBox.GetTop() + promptBox.GetHeight() + 5;
  editor.Move(5, editorTop, promptBox.GetWidth(),
              clientHeight - barHeight - promptBox.GetHeight() - promptBox.GetTop() - 15);
  const int barTop = editor.GetTop() + editor.GetHeight() + 5;
  buttonBar.Move(5, barTop, buttonBar.GetWidth(), barHeight);
  const int closeLeft = clientWidth - closeButton.GetWidth() - 5;
  const int okLeft = closeLeft - okButton.GetWidth() - 5;
  const int closeTop = barTop + barHeight / 2 - closeButton.GetHeight() / 2;
  closeButton.Move(closeLeft, closeTop, closeButton.GetWidth(), closeButton.GetHeight());
  okButton.Move(okLeft, closeTop, okButton.GetWidth(), okButton.GetHeight());
  return 0;
}

intptr_t rg_TavelkinShuRuKuangLei::ConfirmDiscardInputBox() {
  if (editor.IsReadOnly()) return 0;
  if (editor.GetCaption() == editor.GetTextMember()) return 0;
  return ShowMessageBox(u"内容已经修改，确认要放弃？", u"信息:", kDiscardQuestionStyle) == kIdCancel ? 1 : 0;
}

intptr_t rg_TavelkinShuRuKuangLei::DropFilesIntoInputBox(const CMStringArray& paths) {
  editor.SetCaption(JoinPaths(paths, false));
  return 0;
}

intptr_t rg_TavelkinShuRuKuangLei::HandleInputBoxClick(const CQzuObject* sender) {
  if (sender == &okButton) {
    okFlag = 1;
    resultText = editor.GetCaption();
    DestroyWindow();
  } else if (sender == &closeButton) {
    DestroyWindow();
  } else if (sender == &pasteButton) {
    editor.SetCaption(GetClipboardText());
  } else if (sender == &clearButton) {
    editor.SetCaption(CWString());
  } else if (sender == &restoreButton) {
    editor.SetCaption(editor.GetTextMember());
  } else if (sender == &importPathsButton || sender == &importContentsButton) {
    ImportFiles(sender == &importPathsButton);
  }
  return 0;
}

void rg_TavelkinShuRuKuangLei::ImportFiles(bool paths) {
  rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang dialog;
  dialog.mode = rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang::kOpen;
  dialog.multiSelect = 1;
  dialog.title = paths ? u"导入文件路径（按下Ctrl键保留原来内容，按下Alt键提取文件路径中的文件名）："
                       : u"导入文件内容（按下Ctrl键保留原来内容）：";
  dialog.filter = u"文本文件(*.txt)|*.txt|网页文件(*.htm;*.html)|*.htm;*.html|全部文件(*.*)|*.*";
  dialog.filterIndex = 3;
  if (!dialog.Show(this)) return;
  // The keys count as they are once the dialog has closed.
  const bool keep = IsKeyDown(qzu_win::kVkControl) != 0;
  if (paths) {
    const CWString list = JoinPaths(dialog.GetFileNames(), IsKeyDown(qzu_win::kVkMenu) != 0);
    CWString text;
    if (keep) {
      text = editor.GetCaption();
      if (!text.IsEmpty()) text += kLineBreak;
    }
    editor.SetCaption(text + list);
    return;
  }
  if (!keep) editor.SetCaption(CWString());
  CWString gathered = editor.GetCaption();
  const CMStringArray& files = dialog.GetFileNames();
  for (size_t i = 0; i < files.size(); ++i) {
    if (!gathered.IsEmpty()) gathered += kLineBreak;
    CWString charset;
    rg_Ombrine_base::rg_LuoJiXingLei hasMark;
    gathered += ReadTextFile(files[i], charset, hasMark);
  }
  editor.SetCaption(gathered);
}

}  // namespace rg_Tavelkin_MingLingJi
