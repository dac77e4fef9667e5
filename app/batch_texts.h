#pragma once
// The texts of a batch run: the captions its button shows, the patterns it
// walks, the filter of its file dialog, the folders it keeps out of a walk and
// the summary at its end. Pure functions, no window.
#include <cstdint>

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

// The filter of the open-file dialog: "支持的文件|" + the Word patterns for
// "word到txt" encoding, else the html and text patterns + "|全部文件|*.*".
CWString BatchFileDialogFilter(ConversionFunction function, ConversionDirection direction);

// The patterns a folder chosen in the dialog is walked with: the filter edit's
// text, except for "word到txt", which walks Word documents to encode and html
// and text files to decode.
CWString BatchFolderFilter(ConversionFunction function, ConversionDirection direction, const CWString& filterText);

// "已转换 " + converted + " 个！", then, only when there were any, the failed
// files ("失败 N 个！") and the folders that could not be read ("无法读取的文件夹
// N 个！"), then `elapsed` + "\r\n确定后可以打开转换结果所在目录：" + `folder`.
CWString BatchSummaryText(int32_t converted, int32_t failed, int32_t unreadableFolders, const CWString& elapsed,
                          const CWString& folder);

}  // namespace rg_Ombrine_app
