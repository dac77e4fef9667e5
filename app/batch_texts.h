#pragma once
// The texts of a batch run: the captions its button shows, the patterns it
// walks, the filter of its file dialog, the folders it keeps out of a walk and
// the summary at its end. Pure functions, no window.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/conversion_options.h"
#include "common/wstring.h"

namespace rg_Ombrine_app {

// An idle batch button's caption begins with this.
inline constexpr char16_t kBatchCaptionPrefix[] = u"批量";
inline constexpr char16_t kSavingSettingsCaption[] = u"正在保存配置..";
inline constexpr char16_t kStopBatchCaption[] = u"停止批量操作";
inline constexpr char16_t kStoppingBatchCaption[] = u"正在停止";
// The result and backup trees: a walk never enters them.
inline constexpr char16_t kBatchExclusions[] = u"转换结果|原文件备份";
// The name of the result tree under the batch root.
inline constexpr char16_t kBatchResultFolder[] = u"转换结果";
inline constexpr char16_t kChooseFilesTitle[] = u"选择要转换的多个文件：";
inline constexpr char16_t kBatchSummaryCaption[] = u"信息:";
// OK and Cancel, the information icon, system- and task-modal.
inline constexpr int kBatchSummaryStyle = 0x3041;
// The same with OK alone: a summary that offers no folder to open.
inline constexpr int kBatchNoticeStyle = 0x3040;

// The filter of the open-file dialog: "支持的文件|" + the Word patterns for
// "word到txt" encoding, else the html and text patterns + "|全部文件|*.*".
CWString BatchFileDialogFilter(ConversionFunction function, ConversionDirection direction);

// The patterns a folder chosen in the dialog is walked with: the filter edit's
// text, except for "word到txt", which walks Word documents to encode and html
// and text files to decode.
CWString BatchFolderFilter(ConversionFunction function, ConversionDirection direction, const CWString& filterText);

// The files of a batch that were not simply converted, as its summary names
// them.
struct BatchTally {
  // How many names of each kind the summary lists; "…" stands for the rest.
  static constexpr size_t kListedNames = 10;

  // Files handed to the conversion core that it did not convert.
  int32_t failed = 0;
  // Files left alone because they hold no text.
  int32_t skipped = 0;
  // Converted files holding characters the target charset lacks ("?" now).
  int32_t replaced = 0;
  // Converted files that were to leave for the backup tree ("删除原文件")
  // and are still in their place.
  int32_t stayed = 0;
  // The first names of the failed, the skipped and the stayed files,
  // relative to the batch's folder, as a person reads them.
  std::vector<CWString> failedNames;
  std::vector<CWString> skippedNames;
  std::vector<CWString> stayedNames;
  // Why the batch ended before its last file, when something other than the
  // user stopped it; empty otherwise.
  CWString stopReason;

  void AddFailed(const CWString& name);
  void AddSkipped(const CWString& name);
  void AddStayed(const CWString& name);
};

// `path` as the summary names it: relative to the batch's folder `root` when
// it lies there, else whole; bytes of a name that are not UTF-8 read in the
// system code page (ShownName).
CWString NameInBatch(const CWString& path, const CWString& root);

// "已转换 " + converted + " 个！", then, only when there were any, the failed
// files ("失败 N 个！") and the folders that could not be read ("无法读取的文件夹
// N 个！"), then `elapsed`; then, each on its lines and only when there were
// any: "批量操作已停止：" + the stop reason, "N 个文件含有无法用目标编码表示的字符
// （已替换为?）", "跳过 N 个非文本文件：" and the names, "失败的文件：" and the
// names, "N 个原文件无法移入原文件备份，仍在原处：" and the names; then, unless
// `folder` is empty, "\r\n确定后可以打开转换结果所在目录：" + `folder`. Lines are
// joined by CR LF.
CWString BatchSummaryText(int32_t converted, const BatchTally& tally, int32_t unreadableFolders,
                          const CWString& elapsed, const CWString& folder);

}  // namespace rg_Ombrine_app
