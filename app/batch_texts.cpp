#include "app/batch_texts.h"

#include "textlib/path_helpers.h"
#include "textlib/shown_name.h"

namespace rg_Ombrine_app {

namespace {

bool WordToEncode(ConversionFunction function, ConversionDirection direction) {
  return function == ConversionFunction::WordToText && direction == ConversionDirection::Encode;
}

}  // namespace

CWString BatchFileDialogFilter(ConversionFunction function, ConversionDirection direction) {
  const char16_t* patterns = WordToEncode(function, direction) ? u"*.doc;*.docx" : u"*.htm;*.html;*.txt";
  return CWString(u"支持的文件|") + patterns + u"|全部文件|*.*";
}

CWString BatchFolderFilter(ConversionFunction function, ConversionDirection direction, const CWString& filterText) {
  if (function != ConversionFunction::WordToText) return filterText;
  return CWString(direction == ConversionDirection::Encode ? u"*.doc|*.docx" : u"*.htm|*.html|*.txt");
}

void BatchTally::AddFailed(const CWString& name) {
  ++failed;
  if (failedNames.size() < kListedNames) failedNames.push_back(name);
}

void BatchTally::AddSkipped(const CWString& name) {
  ++skipped;
  if (skippedNames.size() < kListedNames) skippedNames.push_back(name);
}

void BatchTally::AddStayed(const CWString& name) {
  ++stayed;
  if (stayedNames.size() < kListedNames) stayedNames.push_back(name);
}

CWString NameInBatch(const CWString& path, const CWString& root) {
  const CWString folder = AppendTrailingBackslash(StripTrailingBackslash(root));
  if (root.IsEmpty() || path.Length() <= folder.Length() || !path.StartsWith(folder.View())) return ShownName(path);
  return ShownName(path.Mid(folder.Length()));
}

namespace {

// The listed names, one a line below their heading, "…" for the rest.
CWString NameLines(const std::vector<CWString>& names, int32_t count) {
  CWString lines;
  for (const CWString& name : names) lines += u"\r\n  " + name;
  if (count > static_cast<int32_t>(names.size())) lines += u"\r\n  …";
  return lines;
}

}  // namespace

CWString BatchSummaryText(int32_t converted, const BatchTally& tally, int32_t unreadableFolders,
                          const CWString& elapsed, const CWString& folder) {
  CWString text = u"已转换 " + CWString::FromInt(converted) + u" 个！";
  if (tally.failed > 0) text += u"失败 " + CWString::FromInt(tally.failed) + u" 个！";
  if (unreadableFolders > 0) text += u"无法读取的文件夹 " + CWString::FromInt(unreadableFolders) + u" 个！";
  text += elapsed;
  if (!tally.stopReason.IsEmpty()) text += u"\r\n批量操作已停止：" + tally.stopReason;
  if (tally.replaced > 0)
    text += u"\r\n" + CWString::FromInt(tally.replaced) + u" 个文件含有无法用目标编码表示的字符（已替换为?）";
  if (tally.skipped > 0)
    text += u"\r\n跳过 " + CWString::FromInt(tally.skipped) + u" 个非文本文件：" +
            NameLines(tally.skippedNames, tally.skipped);
  if (tally.failed > 0) text += u"\r\n失败的文件：" + NameLines(tally.failedNames, tally.failed);
  if (tally.stayed > 0)
    text += u"\r\n" + CWString::FromInt(tally.stayed) + u" 个原文件无法移入原文件备份，仍在原处：" +
            NameLines(tally.stayedNames, tally.stayed);
  if (folder.IsEmpty()) return text;
  return text + u"\r\n确定后可以打开转换结果所在目录：" + folder;
}

}  // namespace rg_Ombrine_app
