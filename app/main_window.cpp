#include "app/main_window.h"

#include "common/dpi.h"
#include "components/global_objects.h"
#include "components/icon_render_cache.h"
#include "components/title_hint.h"
#include "framework/screen_area.h"
#include "framework/window_fit.h"
#include "platform/hooks.h"

namespace rg_Ombrine_app {

QZU_IMPLEMENT_CLASS(rg_ZhuChuangKouLei, rg_Ombrine_MFCJieMian_base::CQzuWinForm, "rg_Ombrine_app::rg_ZhuChuangKouLei")

namespace {
rg_ZhuChuangKouLei* Self(CQzuObject* receiver) { return static_cast<rg_ZhuChuangKouLei*>(receiver); }
}  // namespace

rg_ZhuChuangKouLei::rg_ZhuChuangKouLei() : MainWindowEvents(CQzuReceiverRef::Make(this)) {
  Direction = 0;
  ConvertedCount = 0;
  SetMinMaxButtons(true, true);
  SetBorderStyle(1);
  SetEscCloses(false);
  SetCentredOnScreen(true);
  SetCaption(kMainWindowTitle);
  FolderWalker.folderEvent.Connect(&FileListReadyCallback, MainWindowEvents);
  BatchEncodeDrop.dropEvent.Connect(&FilesDroppedCallback, MainWindowEvents);
  BatchDecodeDrop.dropEvent.Connect(&FilesDroppedCallback, MainWindowEvents);
  InputDrop.dropEvent.Connect(&FilesDroppedCallback, MainWindowEvents);
}

rg_ZhuChuangKouLei::~rg_ZhuChuangKouLei() {
  // No handler may start (or still run) while the members go.
  MainWindowEvents->Detach();
  if (MainWindowPointer() == this) SetMainWindowPointer(nullptr);
}

// ---- object operations ----

std::vector<CQzuWinControl*> rg_ZhuChuangKouLei::ControlMembers() const {
  auto* self = const_cast<rg_ZhuChuangKouLei*>(this);
  auto& w = *self;
  return {&w.PinyinPanel,
          &w.PinyinFormatEdit,
          &w.CapitalizeCheck,
          &w.PinyinRatioList,
          &w.ToneCheck,
          &w.ReplaceFormatCheck,
          &w.EncodeButton,
          &w.WordTxtPanel,
          &w.WordTypesetRadio,
          &w.WordTxtLabel,
          &w.WordTypesetPRadio,
          &w.WordBasicRadio,
          &w.EncodeIncludesPanel,
          &w.LineBreaksCheck,
          &w.EncodeIncludesLabel,
          &w.AsciiCheck,
          &w.JoinersCheck,
          &w.TxtPanel,
          &w.HtmlTypesetImagesRadio,
          &w.HtmlTypesetRadio,
          &w.HtmlTxtLabel,
          &w.HtmlTypesetImagesPRadio,
          &w.HtmlBasicRadio,
          &w.TxtExtensionList,
          &w.BreakWinToggle,
          &w.DecodeButton,
          &w.WordToTextToggle,
          &w.Ucs2Toggle,
          &w.UnicodeDecimalToggle,
          &w.UrlToggle,
          &w.Base64Toggle,
          &w.UnicodeHexToggle,
          &w.UpperCaseToggle,
          &w.TraditionalToggle,
          &w.BytesToggle,
          &w.BytesHexToggle,
          &w.BreakUnixToggle,
          &w.BreakMacToggle,
          &w.HtmlToTextToggle,
          &w.DedupeToggle,
          &w.DedupPanel,
          &w.SubIndexEdit,
          &w.SeparatorEdit,
          &w.RemoveDuplicatesRadio,
          &w.SeparatorLabel,
          &w.KeepDuplicatedRadio,
          &w.KeepUniqueRadio,
          &w.SubSeparatorEdit,
          &w.SubSeparatorLabel,
          &w.SubIndexLabel,
          &w.DedupModeLabel,
          &w.UrlUtf8Toggle,
          &w.Md5Toggle,
          &w.Sha1Toggle,
          &w.PinyinToggle,
          &w.Sha256Toggle,
          &w.NoneToggle,
          &w.CharFormatPanel,
          &w.UbeRadio,
          &w.UnicodeRadio,
          &w.RawRadio,
          &w.CharFormatLabel,
          &w.Utf8Radio,
          &w.AnsiRadio,
          &w.BatchGroup,
          &w.BatchEncodeButton,
          &w.FileFilterEdit,
          &w.ConvertFileNamesCheck,
          &w.DeleteOriginalCheck,
          &w.SaveToNewLocationCheck,
          &w.StripBomCheck,
          &w.WalkSubfoldersCheck,
          &w.InputCharsetList,
          &w.OutputCharsetList,
          &w.BatchDecodeButton,
          &w.EditorsPanel,
          &w.PasteButton,
          &w.CopyButton,
          &w.InputEditor,
          &w.ResultEditor,
          &w.InputCaption,
          &w.ResultCaption,
          &w.SwapButton,
          &w.WrapButton,
          &w.BannerStrip};
}

bool rg_ZhuChuangKouLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_ZhuChuangKouLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ZhuChuangKouLei, source)
  CQzuWinForm::CopyFrom(src);
  const std::vector<CQzuWinControl*> mine = ControlMembers();
  const std::vector<CQzuWinControl*> theirs = src.ControlMembers();
  for (size_t i = 0; i < mine.size(); ++i) mine[i]->CopyFrom(*theirs[i]);
  Direction = src.Direction;
  WordEngine.CopyFrom(src.WordEngine);
  PinyinConverter.CopyFrom(src.PinyinConverter);
  FolderWalker.CopyFrom(src.FolderWalker);
  BatchRoot = src.BatchRoot;
  ConvertedCount = src.ConvertedCount;
  BatchClock.CopyFrom(src.BatchClock);
  BatchEncodeDrop.CopyFrom(src.BatchEncodeDrop);
  BatchDecodeDrop.CopyFrom(src.BatchDecodeDrop);
  InputDrop.CopyFrom(src.InputDrop);
  return 1;
}

void rg_ZhuChuangKouLei::SaveToStream(CQzuStream& s) const {
  CQzuWinForm::SaveToStream(s);
  for (const CQzuWinControl* member : ControlMembers()) {
    if (!s.Ok()) return;
    member->SaveToStream(s);
  }
  if (!s.Ok()) return;
  s.WriteInt32(Direction);
  for (const CQzuObject* member :
       std::initializer_list<const CQzuObject*>{&WordEngine, &PinyinConverter, &FolderWalker}) {
    if (!s.Ok()) return;
    member->SaveToStream(s);
  }
  if (!s.Ok()) return;
  s.WriteText(BatchRoot);
  s.WriteInt32(ConvertedCount);
  for (const CQzuObject* member :
       std::initializer_list<const CQzuObject*>{&BatchClock, &BatchEncodeDrop, &BatchDecodeDrop, &InputDrop}) {
    if (!s.Ok()) return;
    member->SaveToStream(s);
  }
}

void rg_ZhuChuangKouLei::LoadFromStream(CQzuStream& s) {
  CQzuWinForm::LoadFromStream(s);
  for (CQzuWinControl* member : ControlMembers()) {
    if (!s.Ok()) return;
    member->LoadFromStream(s);
  }
  if (!s.Ok() || !s.ReadInt32(Direction)) return;
  for (CQzuObject* member : std::initializer_list<CQzuObject*>{&WordEngine, &PinyinConverter, &FolderWalker}) {
    if (!s.Ok()) return;
    member->LoadFromStream(s);
  }
  if (!s.Ok() || !s.ReadText(BatchRoot) || !s.ReadInt32(ConvertedCount)) return;
  for (CQzuObject* member :
       std::initializer_list<CQzuObject*>{&BatchClock, &BatchEncodeDrop, &BatchDecodeDrop, &InputDrop}) {
    if (!s.Ok()) return;
    member->LoadFromStream(s);
  }
}

int rg_ZhuChuangKouLei::DefaultWidth() const { return ScaleByDpiFactor(kMainWindowWidth); }
int rg_ZhuChuangKouLei::DefaultHeight() const { return ScaleByDpiFactor(kMainWindowHeight); }

void rg_ZhuChuangKouLei::PrepareCreateParams(rg_Ombrine_MFCJieMian_base::CQzuCreateParams& params) {
  CQzuWinForm::PrepareCreateParams(params);
  if (params.parent || GetEnvelope() || params.width != qzu_win::kCwUseDefault ||
      params.height != qzu_win::kCwUseDefault)
    return;
  // Before any control exists: the controls and their fonts are made at the
  // factor chosen here.
  const QRect area = AvailableScreenArea();
  if (area.isEmpty()) return;
  const WindowFit fit = FitWindowToArea(QSize(kMainWindowWidth, kMainWindowHeight), GetDpiFactor(), area.size());
  if (fit.factor != GetDpiFactor()) {
    ApplyUiScale(fit.factor);
    // The banner chose its pictures' size step when it was constructed.
    BannerStrip.PickBannerBitmaps();
  }
  params.width = fit.clientSize.width();
  params.height = fit.clientSize.height();
}

// ---- the conversion core's host ----

void rg_ZhuChuangKouLei::SetTitleHint(const CWString& message, const CWString& countdown) {
  ::SetTitleHint(message, countdown);
}

void rg_ZhuChuangKouLei::ShowInformation(const CWString& text) {
  ShowMessageBox(text, u"信息:", kMbOk | kMbIconInformation);
}

// ---- lifecycle ----

void rg_ZhuChuangKouLei::CreateChildren() { BuildMainWindowUi(); }

intptr_t rg_ZhuChuangKouLei::OnMainWindowCreated() {
  // The settings load ends by parking the option panels over the banner.
  BindSettings(kBindLoad);
  BatchEncodeDrop.EnableFileDrop(BatchEncodeButton);
  BatchDecodeDrop.EnableFileDrop(BatchDecodeButton);
  InputDrop.EnableFileDrop(InputEditor);
  // The batch group's picture stays under the batch controls.
  if (BatchGroup.Display().HasWindow()) BatchGroup.Display().SendToBottom();
  SetMainWindowPointer(this);
  return 0;
}

intptr_t rg_ZhuChuangKouLei::OnMainWindowShown() {
  OnMainWindowResize();
  // A text restored from the settings (or the sample text of a first start)
  // stays; only an empty editor shows the help text.
  if (InputEditor.GetCodeEditText().IsEmpty()) InputEditor.SetCodeEditText(rg_Tavelkin_MingLingJi::AboutText());
  UpdateOptionPanels();
  return 0;
}

intptr_t rg_ZhuChuangKouLei::OnMainWindowClose() {
  // A running batch finishes its current file first; the close comes back
  // once it has ended.
  if (DeferCloseUntilBatchEnds()) return 1;
  BindSettings(kBindSave);
  if (WordEngine.started) {
    // Only the documents this run opened are closed: the office may hold
    // documents of the user's own, and it is left running.
    WordEngine.started = 0;
    WordEngine.CloseAllWordDocuments();
    WordEngine.currentDocument.ReleaseInstance();
    WordEngine.paragraphs.ReleaseInstance();
    WordEngine.documents.ReleaseInstance();
    WordEngine.application.ReleaseInstance();
  }
  SaveIconCacheIfChanged();
  return 0;
}

// ---- thunks ----

intptr_t rg_ZhuChuangKouLei::MainWindowCreatedCallback(CQzuObject* r, CQzuObject*, intptr_t) {
  return Self(r)->OnMainWindowCreated();
}
intptr_t rg_ZhuChuangKouLei::MainWindowResizeCallback(CQzuObject* r, CQzuObject*, intptr_t, int, int) {
  return Self(r)->OnMainWindowResize();
}
intptr_t rg_ZhuChuangKouLei::MainWindowCloseCallback(CQzuObject* r, CQzuObject*, intptr_t) {
  return Self(r)->OnMainWindowClose();
}
intptr_t rg_ZhuChuangKouLei::MainWindowShownCallback(CQzuObject* r, CQzuObject*, intptr_t) {
  return Self(r)->OnMainWindowShown();
}
intptr_t rg_ZhuChuangKouLei::ButtonClickCallback(CQzuObject* r, CQzuObject* sender, intptr_t) {
  return Self(r)->OnButtonClick(sender);
}
intptr_t rg_ZhuChuangKouLei::OptionCheckChangedCallback(CQzuObject* r, CQzuObject* sender, intptr_t) {
  return Self(r)->OnOptionCheckChanged(sender);
}

}  // namespace rg_Ombrine_app
