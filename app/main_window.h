#pragma once
// rg_ZhuChuangKouLei: the main window, the program's one top-level form. It
// owns every control of the tool (21 exclusive function toggles, the four
// action buttons, six option panels, the batch group, the two code editors
// and the banner strip), the helper objects the conversions need (Word
// automation, the pinyin converter, the folder walker, the batch clock, three
// file-drop enablers) and the little state a run keeps (direction, batch
// root, converted count).
//
// The members below are in declaration order, which is also the order of the
// stream form and of copying; destruction runs in reverse. They are public so
// that the window's handlers, its tests and the code that binds them to the
// settings reach the controls by name. A control known to the user only by
// its caption carries that caption in the comment beside it.
//
// Lifecycle: constructed without a window; CreateForm builds every control
// (BuildMainWindowUi), then the created handler runs; the first activation
// lays the window out and shows the panels of the checked function; the
// close query saves what must be saved and lets the close go ahead. Event
// handlers run through MainWindowEvents, which the destructor detaches first,
// so no handler runs on a window being destroyed. UI thread only.
#include <cstdint>
#include <vector>

#include "app/batch_run.h"
#include "app/conversion_host.h"
#include "app/conversion_options.h"
#include "common/wstring.h"
#include "components/banner_strip.h"
#include "components/code_edit_with_menu.h"
#include "components/drop_down_list.h"
#include "components/owner_drawn_button.h"
#include "components/owner_drawn_label.h"
#include "framework/check_box.h"
#include "framework/client_scroller.h"
#include "framework/edit_box.h"
#include "framework/label.h"
#include "framework/win_container.h"
#include "framework/win_form.h"
#include "services/file_drop.h"
#include "services/folder_walker.h"
#include "services/time_measurement.h"
#include "services/word_automation.h"
#include "textlib/pinyin_converter.h"

namespace rg_Ombrine_app {

// The window's title.
inline constexpr char16_t kMainWindowTitle[] = u"Tavelkin·Quillmere v2.3.0.0 - 支持拖动文件到批量转换按钮";
// The client size the window is created with, in logical pixels.
inline constexpr int kMainWindowWidth = 1192;
inline constexpr int kMainWindowHeight = 720;
// The modes of BindSettings.
inline constexpr int kBindLoad = 0;
inline constexpr int kBindSave = 1;
// The sides and parts of UpdateActionCaptions.
inline constexpr int kEncodeSide = 0;
inline constexpr int kDecodeSide = 1;
inline constexpr int kSingleAndBatch = 0;
inline constexpr int kSingleOnly = 1;
inline constexpr int kBatchOnly = 2;

class rg_ZhuChuangKouLei : public rg_Ombrine_MFCJieMian_base::CQzuWinForm, public IConversionHost {
  QZU_DECLARE_CLASS(rg_ZhuChuangKouLei)

 public:
  using Layouter = rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi;
  using Edit = rg_Ombrine_MFCJieMian_base::rg_edit_box;
  using Radio = rg_Ombrine_MFCJieMian_base::rg_radio_box;
  using PlainCheck = rg_Ombrine_MFCJieMian_base::rg_check_box;
  using PlainLabel = rg_Ombrine_MFCJieMian_base::rg_label8;
  using Button = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1;
  using OptionCheck = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1;
  using DropDown = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinZuGeKuang1;
  using HeadingLabel = rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinBiaoQian;
  using CodeEditor = rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinHuoHuaBianJiKuang1;
  using Banner = rg_Tavelkin_GongNengChuangKou::rg_TavelkinPinPaiHengFuLei1;
  using FileDrop = rg_Tavelkin_MingLingJi::rg_TavelkinWenJianTuoFangLei;

  // MainWindowConstruct and MainWindowInitAfterConstruct: the members, the
  // event receiver, the frame (sizable, minimise and maximise boxes, Esc does
  // not close), the title; no window.
  rg_ZhuChuangKouLei();
  // Detaches MainWindowEvents first (waiting for a running handler), takes
  // the window out of the title hint, then the members go in reverse order.
  ~rg_ZhuChuangKouLei() override;

  // Equal only to itself (it embeds controls with their windows).
  bool IsEqual(const CQzuObject& other) const override;
  // Refuses other classes; copies the form part, then every member in
  // declaration order through its own copy (controls share their windows).
  int CopyFrom(const CQzuObject& source) override;
  // The form part, then every member in declaration order; Direction and
  // ConvertedCount as 32-bit values, BatchRoot as a text; the receiver is
  // not written. The first failure of the stream ends the operation.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;
  // 1192 x 720 logical pixels, scaled and rounded: the client size of a
  // window created without a size.
  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // ---- the conversion core's host ----
  void SetTitleHint(const CWString& message, const CWString& countdown) override;
  // A message box captioned "信息:".
  void ShowInformation(const CWString& text) override;

  // ---- handlers (each returns what its event reads: 0) ----
  // Created: settings loaded, option panels placed, drop targets, the batch
  // group's display put under its controls, the main-window pointer.
  intptr_t OnMainWindowCreated();
  // Every size change and once at the first activation.
  intptr_t OnMainWindowResize();
  // The close query: settings saved, Word documents this run opened closed,
  // a changed icon cache written. 0: the close goes ahead.
  intptr_t OnMainWindowClose();
  // The first activation: layout, the about text into an empty input editor,
  // the panels and captions of the checked function.
  intptr_t OnMainWindowShown();
  // A click of any of the 29 buttons, told apart by `sender`.
  intptr_t OnButtonClick(CQzuObject* sender);
  // A click of the editors' captions writes that editor's text to an html
  // file and opens it; the batch heading does nothing.
  intptr_t PreviewAsHtml(CQzuObject* sender);
  // "替换格式" enables the pinyin format edit while it is checked; other
  // senders change nothing.
  intptr_t OnOptionCheckChanged(CQzuObject* sender);
  // The folder walker's list of matching files in one folder.
  intptr_t OnFileListReady(const rg_Ombrine_base::rg_WenBenShuZuLei& files, const CWString& folder);
  // One item dropped on a batch button or the input editor.
  intptr_t OnFilesDropped(CQzuObject* sender, int count, int index, const CWString& path);

  // ---- option panels and captions ----
  // Shows, hides, enables and disables the option panels for the checked
  // function, then sets both sides' captions.
  void UpdateOptionPanels();
  // `side` kEncodeSide or kDecodeSide; `which` kSingleAndBatch, kSingleOnly or
  // kBatchOnly. After the decode side, both encode buttons take their widths.
  void UpdateActionCaptions(int side, int which);
  // The checked function toggle, tested in ConversionFunction order; the
  // "无" toggle when none is checked.
  Button& SelectedFunctionButton();
  // The function of the checked toggle.
  ConversionFunction SelectedFunction();
  // The toggle of a function, and the function of a toggle (false when the
  // button is not a function toggle).
  Button& FunctionToggle(ConversionFunction function);
  bool FunctionOfToggle(const CQzuObject* button, ConversionFunction& function);

  // ---- layout ----
  // Parks the six option panels at the top right over the banner strip, the
  // way the settings load ends.
  void PlaceOptionPanels();
  // The smallest client size at which every toggle, both action buttons,
  // both batch buttons and every option panel stay whole, from the places
  // the build gave them (device pixels). The window takes it as its minimum
  // size, cut to the screen's available area; below it the client area
  // scrolls.
  QSize MinimumClientSize();
  // The scroll bars of a client area smaller than the minimum size.
  const CQzuClientScroller& ClientScroller() const { return m_scroller; }

  // ---- batch (main_window_batch.cpp) ----
  // A click on, or a drop onto, `button` (BatchEncodeButton or
  // BatchDecodeButton). Idle: starts a batch in the button's direction over
  // the dropped `files`, then the dropped `folders`; with both empty a dialog
  // asks for files (Ctrl held) or a folder. While a batch runs, its own button
  // asks it to stop after the current file and any other does nothing; an
  // idle button without a caption does nothing either.
  void RunBatch(const rg_Ombrine_base::rg_WenBenShuZuLei& files, const rg_Ombrine_base::rg_WenBenShuZuLei& folders,
                Button& button);
  // Files of the last batch that the conversion core did not convert.
  int32_t BatchFailedCount() const { return m_batch.tally.failed; }
  // The close query while a batch runs: the batch stops after its current
  // file, and the window closes once it has ended. True when the close must
  // wait for that.
  bool DeferCloseUntilBatchEnds();

  // ---- settings and options ----
  // kBindLoad: every bound control from the settings store; kBindSave: into
  // it, and the settings file written when it changed.
  void BindSettings(int mode);
  // What the controls say now, with the window's direction.
  ConversionOptions FillConversionOptions();

  // ---- members, in declaration order ----
  Layouter PinyinPanel;
  Edit PinyinFormatEdit;
  OptionCheck CapitalizeCheck;  // "首字母大写"
  DropDown PinyinRatioList;
  OptionCheck ToneCheck;           // "带音调"
  OptionCheck ReplaceFormatCheck;  // "替换格式"
  Button EncodeButton;             // "编码"
  Layouter WordTxtPanel;
  Radio WordTypesetRadio;   // "排版"
  PlainLabel WordTxtLabel;  // "txt 选项："
  Radio WordTypesetPRadio;  // "排版加<P>"
  Radio WordBasicRadio;     // "基本"
  Layouter EncodeIncludesPanel;
  PlainCheck LineBreaksCheck;      // "换行"
  PlainLabel EncodeIncludesLabel;  // "编码包括："
  PlainCheck AsciiCheck;           // "ASCII字符"
  PlainCheck JoinersCheck;         // "连接符"
  Layouter TxtPanel;
  Radio HtmlTypesetImagesRadio;   // "带图排版"
  Radio HtmlTypesetRadio;         // "排版"
  PlainLabel HtmlTxtLabel;        // "txt 选项："
  Radio HtmlTypesetImagesPRadio;  // "带图排版加<P>"
  Radio HtmlBasicRadio;           // "基本"
  DropDown TxtExtensionList;
  Button BreakWinToggle;        // "Win(\r\n)", backslashes and letters literal
  Button DecodeButton;          // "解码"
  Button WordToTextToggle;      // "word到txt"
  Button Ucs2Toggle;            // "UCS2"
  Button UnicodeDecimalToggle;  // "Unicode十进制"
  Button UrlToggle;             // "URL"
  Button Base64Toggle;          // "Base64"
  Button UnicodeHexToggle;      // "Unicode十六进制"
  Button UpperCaseToggle;       // "大写"
  Button TraditionalToggle;     // "繁体"
  Button BytesToggle;           // "字节集"
  Button BytesHexToggle;        // "字节集(十六进制)"
  Button BreakUnixToggle;       // "Unix(\n)"
  Button BreakMacToggle;        // "Mac(\r)"
  Button HtmlToTextToggle;      // "html到txt"
  Button DedupeToggle;          // "极速去重"
  Layouter DedupPanel;
  Edit SubIndexEdit;
  Edit SeparatorEdit;
  Radio RemoveDuplicatesRadio;  // "删除重复"
  PlainLabel SeparatorLabel;    // "分隔符"
  Radio KeepDuplicatedRadio;    // "提取重复"
  Radio KeepUniqueRadio;        // "提取没有重复"
  Edit SubSeparatorEdit;
  PlainLabel SubSeparatorLabel;  // "子分隔符"
  PlainLabel SubIndexLabel;      // "子序号"
  PlainLabel DedupModeLabel;     // "去重类型："
  Button UrlUtf8Toggle;          // "URL-UTF8"
  Button Md5Toggle;              // "MD5"
  Button Sha1Toggle;             // "SHA1"
  Button PinyinToggle;           // "拼音"
  Button Sha256Toggle;           // "SHA256"
  Button NoneToggle;             // "无"
  Layouter CharFormatPanel;
  Radio UbeRadio;              // "Ube"
  Radio UnicodeRadio;          // "Unicode"
  Radio RawRadio;              // "原始"
  PlainLabel CharFormatLabel;  // "字符格式："
  Radio Utf8Radio;             // "UTF-8"
  Radio AnsiRadio;             // "ANSI"
  HeadingLabel BatchGroup;
  Button BatchEncodeButton;  // "批量编码"
  Edit FileFilterEdit;
  OptionCheck ConvertFileNamesCheck;   // "转换文件名"
  OptionCheck DeleteOriginalCheck;     // "删除原文件"
  OptionCheck SaveToNewLocationCheck;  // "新位置保存"
  OptionCheck StripBomCheck;           // "去除 BOM"
  OptionCheck WalkSubfoldersCheck;     // "遍历子目录"
  DropDown InputCharsetList;
  DropDown OutputCharsetList;
  Button BatchDecodeButton;  // "批量解码"
  Layouter EditorsPanel;
  Button PasteButton;  // "粘贴"
  Button CopyButton;   // "复制"
  CodeEditor InputEditor;
  CodeEditor ResultEditor;
  HeadingLabel InputCaption;
  HeadingLabel ResultCaption;
  Button SwapButton;  // "交换"
  Button WrapButton;  // "折行", kept hidden
  Banner BannerStrip;
  int32_t Direction = 0;  // 0 encode, 1 decode: the side of the last action
  rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei WordEngine;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei PinyinConverter;
  rg_Tavelkin_MingLingJi::rg_TavelkinBianLiZiMuLuLei FolderWalker;
  CWString BatchRoot;          // root folder of the running batch
  int32_t ConvertedCount = 0;  // files converted in the current batch
  rg_Tavelkin_MingLingJi::rg_TavelkinShiJianCeLiangLei BatchClock;
  FileDrop BatchEncodeDrop;  // drop target "批量编码"
  FileDrop BatchDecodeDrop;  // drop target "批量解码"
  FileDrop InputDrop;        // drop target InputEditor
  CQzuReceiverRef MainWindowEvents;
  // The items of the last drop on any of the three drop targets, files and
  // folders apart; emptied when the first item of a new drop arrives. Not
  // streamed.
  rg_Ombrine_base::rg_WenBenShuZuLei DroppedFiles;
  rg_Ombrine_base::rg_WenBenShuZuLei DroppedFolders;

  // ---- the single conversion beside a running batch ----
  // Set by the batch from the start of RunBatch until its summary (not
  // streamed): a single conversion then leaves Direction alone. The batch
  // itself converts every file in its own direction whatever Direction says.
  bool BatchRunning = false;
  // Single conversions under way on each side (kEncodeSide, kDecodeSide):
  // their button says "正在处理.." until they end, whatever is clicked
  // meanwhile. Not streamed.
  int SingleConversionsRunning[2] = {0, 0};
  // "正在处理.." on `clicked`, the input editor's text through the conversion
  // core in text mode into the result editor, then the clicked side's single
  // caption set again. `direction` kEncodeSide or kDecodeSide.
  void RunSingleConversion(Button& clicked, int direction);
  // After a single conversion: the title hint tells how many characters the
  // target charset lacked ("N 个字符无法用目标编码表示（已替换为?）"); a later
  // conversion without any takes that hint away. Nothing while a batch runs.
  void ShowReplacementHint(int64_t replaced);

 protected:
  // BuildMainWindowUi.
  void CreateChildren() override;
  // A window created without a size fits the screen's available area: the
  // DPI factor may step down, or the window opens at the area with its
  // client scrolling (framework/window_fit.h).
  void PrepareCreateParams(rg_Ombrine_MFCJieMian_base::CQzuCreateParams& params) override;

 private:
  // Every control with its caption, looks, position, id, initial state and
  // handler (main_window_controls.cpp).
  void BuildMainWindowUi();
  void BuildPinyinPanel();
  void BuildWordAndEncodePanels();
  // A function toggle: check mode, the toggle colours, its function's caption.
  void MakeFunctionToggle(Button& toggle, int x, int y, int width, int id);
  void BuildFunctionToggles();
  void BuildDedupPanel();
  void BuildLastToggles();
  void BuildCharFormatPanel();
  void BuildBatchGroup();
  void BuildEditors();
  // The controls, members 1 to 85, in declaration order.
  std::vector<CQzuWinControl*> ControlMembers() const;

  // The batch (main_window_batch.cpp): the options of its next file, in its
  // own direction; its stop request; its end, captions restored, the window
  // brought to the front and, unless the window is closing, the summary.
  ConversionOptions BatchOptions();
  void RequestBatchStop();
  void FinishBatch(bool withSummary);

  // The thunks the events call: they forward to the handlers above.
  static intptr_t MainWindowCreatedCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t MainWindowResizeCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int width,
                                           int height);
  static intptr_t MainWindowCloseCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t MainWindowShownCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t ButtonClickCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t OptionCheckChangedCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData);
  static intptr_t HtmlPreviewCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int x, int y);
  static intptr_t FileListReadyCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData,
                                        const rg_Ombrine_base::rg_WenBenShuZuLei& files, const CWString& folder);
  static intptr_t FilesDroppedCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t userData, int count,
                                       int index, const CWString& path, const CWString& extension);

  BatchRun m_batch;
  bool m_replacementHintShown = false;
  CQzuClientScroller m_scroller;
};

}  // namespace rg_Ombrine_app
