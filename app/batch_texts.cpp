#include "app/batch_texts.h"

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

CWString BatchSummaryText(int32_t converted, int32_t failed, int32_t unreadableFolders, const CWString& elapsed,
                          const CWString& folder) {
  CWString text = u"已转换 " + CWString::FromInt(converted) + u" 个！";
  if (failed > 0) text += u"失败 " + CWString::FromInt(failed) + u" 个！";
  if (unreadableFolders > 0) text += u"无法读取的文件夹 " + CWString::FromInt(unreadableFolders) + u" 个！";
  return text + elapsed + u"\r\n确定后可以打开转换结果所在目录：" + folder;
}

}  // namespace rg_Ombrine_app
