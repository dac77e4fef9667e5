#include "textlib/chinese_script.h"

#include "platform/chinese_script_table.h"

void ConvertChineseScript(CWString& text, int toTraditional) {
  std::u16string& s = text.Str();
  if (s.empty()) return;
  qzu::MapChineseScript(
      s.data(), s.size(),
      toTraditional != kToSimplifiedChinese ? qzu::ChineseScript::Traditional : qzu::ChineseScript::Simplified);
}
