// The main window's batch: starting and stopping it from the two batch
// buttons, converting each list of files the folder walker reports, and the
// drops on the batch buttons and the input editor.
//
// A batch runs on the UI thread. The conversion core and the walker pump
// window messages between files and folders, so clicks, drops and the
// window's close arrive in the middle of a batch; what they may do is decided
// by the explicit record m_batch, never by a button's caption.
#include <sys/stat.h>

#include "app/batch_folder_choice.h"
#include "app/batch_texts.h"
#include "app/conversion_core.h"
#include "app/main_window.h"
#include "app/word_automation_adapter.h"
#include "app/word_documents.h"
#include "components/bring_to_front.h"
#include "foldertree/folder_choice_dialog.h"
#include "framework/file_dialog.h"
#include "platform/hooks.h"
#include "textlib/open_address.h"
#include "textlib/path_helpers.h"
#include "textlib/text_join.h"

namespace rg_Ombrine_app {

namespace {

using rg_Ombrine_base::rg_WenBenShuZuLei;
using rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::kBatchFolderPrompt;

constexpr int kVkControl = 0x11;

// Whether `path` names a folder (a link to one included). A path that names
// nothing is taken for a file, so that the batch reports it as a file it
// could not convert instead of walking a folder that is not there.
bool NamesFolder(const CWString& path) {
  struct stat st {};
  return !path.IsEmpty() && ::stat(path.ToSystemPath().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// What the conversion core answers in file mode for a file it converted:
// "1", or the Word writer's word that the document was saved.
bool Converted(const CWString& result) { return result == u"1" || result == WordDocuments::kSaved; }

void ShowCaption(rg_ZhuChuangKouLei::Button& button, const char16_t* caption) {
  button.SetButtonText(caption);
  button.RedrawButton();
}

}  // namespace

ConversionOptions rg_ZhuChuangKouLei::BatchOptions() {
  // Read afresh for every file, so that an option changed during the batch
  // applies to the files after it; whatever was clicked since the batch
  // began, its files keep its direction and its function.
  ConversionOptions options = FillConversionOptions();
  if (m_batch.Active()) {
    options.direction = m_batch.direction;
    options.function = m_batch.function;
  }
  return options;
}

void rg_ZhuChuangKouLei::RunBatch(const rg_WenBenShuZuLei& files, const rg_WenBenShuZuLei& folders, Button& button) {
  if (m_batch.Active()) {
    // One batch at a time: only its own button stops it.
    if (&button == m_batch.button && m_batch.phase == BatchRun::Phase::Running) RequestBatchStop();
    return;
  }
  // A button without a caption has nothing to do for the chosen function.
  if (button.GetButtonText().IsEmpty()) return;

  // The lists are the window's shared drop lists, which a drop during the
  // batch refills: the batch works on its own copies.
  const rg_WenBenShuZuLei droppedFiles = files;
  const rg_WenBenShuZuLei droppedFolders = folders;

  m_batch = BatchRun();
  m_batch.phase = BatchRun::Phase::Running;
  m_batch.button = &button;
  m_batch.direction = &button == &BatchDecodeButton ? ConversionDirection::Decode : ConversionDirection::Encode;
  m_batch.function = SelectedFunction();
  Direction = static_cast<int32_t>(m_batch.direction);
  BatchRunning = true;

  const ConversionOptions options = BatchOptions();
  {
    WordAutomationAdapter automation(WordEngine);
    if (!WordDocuments(&automation, *this).EnsureWordEngine(options)) {
      m_batch.phase = BatchRun::Phase::Idle;
      BatchRunning = false;
      return;
    }
  }

  BatchRoot.Empty();
  BatchStopRequested = false;
  FolderWalker.stopFlag = 0;
  FolderWalker.skippedFolders = 0;
  ConvertedCount = 0;

  ShowCaption(button, kSavingSettingsCaption);
  BindSettings(kBindSave);
  ShowCaption(button, kStopBatchCaption);

  const int recurse = options.walkSubfolders ? 1 : 0;
  if (!droppedFiles.IsEmpty() || !droppedFolders.IsEmpty()) {
    // A dropped folder's results go beside it, under the folder that holds it.
    if (!droppedFolders.IsEmpty()) BatchRoot = PathFolder(droppedFolders[0]);
    BatchClock.RestartTimeMeasurement();
    const CWString filter = FileFilterEdit.GetText();
    if (!droppedFiles.IsEmpty()) FolderWalker.FireFolderEvent(droppedFiles, CWString());
    PumpPendingMessages();
    for (const CWString& folder : droppedFolders)
      if (FolderWalker.WalkSubFolders(folder, filter, recurse, kBatchExclusions) == 0) break;
  } else if (IsKeyDown(kVkControl)) {
    rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang dialog;
    dialog.title = kChooseFilesTitle;
    dialog.filter = BatchFileDialogFilter(options.function, options.direction);
    dialog.multiSelect = 1;
    dialog.initialFolder = button.GetTextMember();
    if (!dialog.Show(this)) {
      FinishBatch(false);
      return;
    }
    const rg_WenBenShuZuLei chosen = dialog.GetFileNames();
    button.SetTextMember(PathFolder(chosen[0]));
    BatchClock.RestartTimeMeasurement();
    OnFileListReady(chosen, CWString());
  } else {
    const CWString chosen = ChooseBatchFolder(kBatchFolderPrompt, button.GetTextMember());
    if (chosen.IsEmpty()) {
      FinishBatch(false);
      return;
    }
    if (NamesFolder(chosen)) {
      button.SetTextMember(chosen);
      const CWString filter = BatchFolderFilter(options.function, options.direction, FileFilterEdit.GetText());
      BatchClock.RestartTimeMeasurement();
      FolderWalker.WalkSubFolders(chosen, filter, recurse, kBatchExclusions);
    } else {
      // A file was chosen: it is converted, whatever the filter says.
      button.SetTextMember(PathFolder(chosen));
      BatchClock.RestartTimeMeasurement();
      rg_WenBenShuZuLei one;
      one.Add(chosen);
      OnFileListReady(one, CWString());
    }
  }
  FinishBatch(true);
}

void rg_ZhuChuangKouLei::RequestBatchStop() {
  m_batch.phase = BatchRun::Phase::Stopping;
  ShowCaption(m_batch.direction == ConversionDirection::Decode ? BatchDecodeButton : BatchEncodeButton,
              kStoppingBatchCaption);
  BatchStopRequested = true;
  FolderWalker.stopFlag = 1;
}

void rg_ZhuChuangKouLei::FinishBatch(bool withSummary) {
  BatchStopRequested = false;
  FolderWalker.stopFlag = 0;
  const bool closing = m_batch.closeRequested;
  m_batch.phase = BatchRun::Phase::Idle;
  BatchRunning = false;
  m_batch.closeRequested = false;
  UpdateActionCaptions(m_batch.direction == ConversionDirection::Decode ? kDecodeSide : kEncodeSide, kBatchOnly);
  if (closing) {
    // The close that waited for the batch goes ahead now, through the
    // window's own close query (which saves the settings).
    CloseForm();
    return;
  }
  // A cancelled dialog ends the command as it was: no summary.
  if (!withSummary) return;
  BringWindowToFront(*this);
  // A batch that found nothing to convert has no root; one that wrote
  // nothing into a new result tree has no such folder. Neither offers to
  // open what is not there.
  CWString folder = SaveToNewLocationCheck.checked && !BatchRoot.IsEmpty()
                        ? BatchRoot + kPathSeparatorText + kBatchResultFolder
                        : BatchRoot;
  if (!NamesFolder(folder)) folder.Empty();
  const CWString text = BatchSummaryText(ConvertedCount, m_batch.tally, FolderWalker.skippedFolders,
                                         BatchClock.ElapsedText(CWString()), folder);
  const int style = folder.IsEmpty() ? kBatchNoticeStyle : kBatchSummaryStyle;
  if (ShowMessageBox(text, kBatchSummaryCaption, style) == kIdOk && !folder.IsEmpty()) OpenAddress(folder, CWString());
}

bool rg_ZhuChuangKouLei::DeferCloseUntilBatchEnds() {
  if (!m_batch.Active()) return false;
  m_batch.closeRequested = true;
  if (m_batch.phase == BatchRun::Phase::Running) RequestBatchStop();
  return true;
}

intptr_t rg_ZhuChuangKouLei::OnFileListReady(const rg_WenBenShuZuLei& files, const CWString& folder) {
  if (BatchStopRequested) return 0;
  if (BatchRoot.IsEmpty()) BatchRoot = files.IsEmpty() ? folder : PathFolder(files[0]);
  // The walker's list may go with the walker's next folder; the loop keeps
  // its own.
  const rg_WenBenShuZuLei list = files;
  const int count = list.GetCount();
  // One core serves the list, keeping its buffers and flushing each result
  // folder once; the options it reads are filled anew for every file, so
  // that an option changed meanwhile applies to the files after the change.
  ConversionOptions options = BatchOptions();
  WordAutomationAdapter automation(WordEngine);
  WordDocuments word(&automation, *this);
  ConversionCore core(options, BatchRoot, ConvertedCount, PinyinConverter, word, *this);
  for (int i = 0; i < count; ++i) {
    if (BatchStopRequested) break;
    options = BatchOptions();
    CWString result;
    CWString text;
    const CWString& file = list[static_cast<size_t>(i)];
    core.ConvertOne(result, file, count, i + 1, text, false);
    // The core counts every file it is handed; one it left alone as no text,
    // or did not convert, is not a conversion.
    if (core.SkippedNonText()) {
      --ConvertedCount;
      m_batch.tally.AddSkipped(NameInBatch(file, BatchRoot));
    } else if (!Converted(result)) {
      --ConvertedCount;
      m_batch.tally.AddFailed(NameInBatch(file, BatchRoot));
    } else {
      if (core.ReplacedCharacters() > 0) ++m_batch.tally.replaced;
      if (core.SourceStayed()) m_batch.tally.AddStayed(NameInBatch(file, BatchRoot));
    }
    // The word processor that could not be started again has stopped the
    // batch: the summary says so.
    if (word.EngineLost()) m_batch.tally.stopReason = WordDocuments::kRestartFailed;
  }
  core.FlushWrittenFolders();
  SetTitleHint(CWString(), CWString());
  return 0;
}

intptr_t rg_ZhuChuangKouLei::OnFilesDropped(CQzuObject* sender, int count, int index, const CWString& path) {
  if (index == 0) {
    DroppedFiles.Empty();
    DroppedFolders.Empty();
  }
  (NamesFolder(path) ? DroppedFolders : DroppedFiles).Add(path);
  // The stop flag speaks for a running batch only: a single conversion whose
  // word processor could not be started leaves it set, and a drop after that
  // must still start its batch.
  if (index != count - 1 || (BatchStopRequested && m_batch.Active())) return 0;
  if (sender == &BatchEncodeDrop) {
    RunBatch(DroppedFiles, DroppedFolders, BatchEncodeButton);
  } else if (sender == &BatchDecodeDrop) {
    RunBatch(DroppedFiles, DroppedFolders, BatchDecodeButton);
  } else if (sender == &InputDrop && !DroppedFiles.IsEmpty()) {
    // The dropped files' paths, one a line; folders are not taken here.
    CWString separator(u"\r\n");
    InputEditor.SetCodeEditText(JoinItems(DroppedFiles, separator, 1, 0, 0, rg_WenBenShuZuLei()));
  }
  return 0;
}

// ---- thunks ----

intptr_t rg_ZhuChuangKouLei::FileListReadyCallback(CQzuObject* receiver, CQzuObject*, intptr_t,
                                                   const rg_WenBenShuZuLei& files, const CWString& folder) {
  return static_cast<rg_ZhuChuangKouLei*>(receiver)->OnFileListReady(files, folder);
}

intptr_t rg_ZhuChuangKouLei::FilesDroppedCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t, int count,
                                                  int index, const CWString& path, const CWString&) {
  return static_cast<rg_ZhuChuangKouLei*>(receiver)->OnFilesDropped(sender, count, index, path);
}

}  // namespace rg_Ombrine_app
