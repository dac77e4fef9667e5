// The main window's click handlers: the buttons, told apart by identity, the
// html preview of the editors' captions and the option checks.
#include "app/main_window.h"

#include "app/conversion_core.h"
#include "app/word_automation_adapter.h"
#include "app/word_documents.h"
#include "platform/hooks.h"
#include "textlib/charset_convert.h"
#include "textlib/file_write.h"
#include "textlib/open_address.h"
#include "textlib/path_helpers.h"

namespace rg_Ombrine_app {

namespace {

constexpr char16_t kBusyCaption[] = u"正在处理..";
constexpr char16_t kInputPreviewFile[] = u"待转换内容.html";
constexpr char16_t kResultPreviewFile[] = u"转换结果.html";

// Writes `text` as UTF-8 without a mark to `path`, replacing what is there.
bool WriteUtf8File(const CWString& path, const CWString& text) {
  return WriteFileFrom(
             path, [&text](const FileByteSink& sink) { return EncodeUtf16InPieces(text.View(), u"UTF-8", sink); }) == 1;
}

}  // namespace

intptr_t rg_ZhuChuangKouLei::OnButtonClick(CQzuObject* sender) {
  ConversionFunction clicked;
  if (sender == &EncodeButton || sender == &DecodeButton) {
    RunSingleConversion(*static_cast<Button*>(sender), sender == &EncodeButton ? kEncodeSide : kDecodeSide);
  } else if (sender == &PasteButton) {
    InputEditor.SetCodeEditText(GetClipboardText());
  } else if (sender == &CopyButton) {
    SetClipboardText(ResultEditor.GetCodeEditText());
  } else if (sender == &SwapButton) {
    const CWString kept = InputEditor.GetCodeEditText();
    PumpPendingMessages();
    InputEditor.SetCodeEditText(ResultEditor.GetCodeEditText());
    PumpPendingMessages();
    ResultEditor.SetCodeEditText(kept);
  } else if (FunctionOfToggle(sender, clicked)) {
    // Exactly the clicked toggle is checked, also when it was checked before.
    for (int i = 0; i < kConversionFunctionCount; ++i) {
      const auto function = static_cast<ConversionFunction>(i);
      FunctionToggle(function).SetButtonChecked(function == clicked ? 1 : 0);
    }
    UpdateOptionPanels();
  } else if (sender == &BatchEncodeButton || sender == &BatchDecodeButton) {
    RunBatch(rg_Ombrine_base::rg_WenBenShuZuLei(), rg_Ombrine_base::rg_WenBenShuZuLei(),
             *static_cast<Button*>(sender));
  }
  // "折行" does nothing.
  return 0;
}

void rg_ZhuChuangKouLei::RunSingleConversion(Button& clicked, int direction) {
  // A running batch reads the window's direction before each of its files;
  // a conversion started in the middle of it keeps its own direction.
  if (!BatchRunning) Direction = direction;
  clicked.SetButtonText(kBusyCaption);
  clicked.RedrawButton();

  // The options are read once: a toggle clicked while the conversion pumps
  // messages changes neither its function nor its busy caption.
  ConversionOptions options = FillConversionOptions();
  options.direction = direction == kDecodeSide ? ConversionDirection::Decode : ConversionDirection::Encode;
  const int side = direction == kDecodeSide ? kDecodeSide : kEncodeSide;
  ++SingleConversionsRunning[side];
  WordAutomationAdapter automation(WordEngine);
  WordDocuments word(&automation, *this);
  // The engine's own message box tells why nothing was converted.
  if (word.EnsureWordEngine(options)) {
    CWString text = InputEditor.GetCodeEditText();
    CWString result;
    ConversionCore core(options, BatchRoot, ConvertedCount, PinyinConverter, word, *this);
    core.ConvertOne(result, CWString(), 0, 0, text, false);
    // A file named in the input box that holds no text gives nothing: the
    // result stays as it was, and the title says why until the next
    // conversion. Of a list of files, the others' results are shown.
    if (!core.SkippedNonText() || !result.IsEmpty()) ResultEditor.SetCodeEditText(result);
    if (core.SkippedNonText() && !BatchRunning) {
      SetTitleHint(CWString(u"非文本文件，未转换"), CWString());
      m_replacementHintShown = true;
    } else {
      ShowReplacementHint(core.ReplacedCharacters());
    }
  }
  --SingleConversionsRunning[side];
  UpdateActionCaptions(direction, kSingleOnly);
}

void rg_ZhuChuangKouLei::ShowReplacementHint(int64_t replaced) {
  // A running batch shows its progress there, file by file.
  if (BatchRunning) return;
  if (replaced > 0) {
    SetTitleHint(CWString::FromInt(replaced) + u" 个字符无法用目标编码表示（已替换为?）", CWString());
    m_replacementHintShown = true;
  } else if (m_replacementHintShown) {
    SetTitleHint(CWString(), CWString());
    m_replacementHintShown = false;
  }
}

intptr_t rg_ZhuChuangKouLei::PreviewAsHtml(CQzuObject* sender) {
  CWString file = GetProgramFolder() + kPathSeparatorText;
  CWString text;
  if (sender == &InputCaption) {
    file += kInputPreviewFile;
    text = InputEditor.GetCodeEditText();
  } else if (sender == &ResultCaption) {
    file += kResultPreviewFile;
    text = ResultEditor.GetCodeEditText();
  } else {
    return 0;
  }
  // A file that could not be replaced still holds an older preview: opening
  // it would show text that is not in the editor.
  if (!WriteUtf8File(file, text)) return 0;
  OpenAddress(file, CWString());
  return 0;
}

intptr_t rg_ZhuChuangKouLei::OnOptionCheckChanged(CQzuObject* sender) {
  if (sender == &ReplaceFormatCheck) PinyinFormatEdit.SetEnabled(ReplaceFormatCheck.checked != 0);
  return 0;
}

intptr_t rg_ZhuChuangKouLei::HtmlPreviewCallback(CQzuObject* receiver, CQzuObject* sender, intptr_t, int, int) {
  return static_cast<rg_ZhuChuangKouLei*>(receiver)->PreviewAsHtml(sender);
}

}  // namespace rg_Ombrine_app
