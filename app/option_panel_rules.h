#pragma once
// Which option panels of the main window a function reads, and which option
// controls it leaves enabled.
#include "app/conversion_options.h"

namespace rg_Ombrine_app {

struct OptionPanelStates {
  bool txtPanel = false;             // html layouts and "文件扩展名"
  bool wordTxtPanel = false;         // Word layouts
  bool dedupPanel = false;           // "去重类型："
  bool charFormatPanel = false;      // "字符格式："
  bool encodeIncludesPanel = false;  // "编码包括："
  bool pinyinPanel = false;
  bool fileFilterEnabled = true;     // off for Word: the batch takes Word files whatever the filter says
  bool joinersEnabled = false;       // "连接符" means something to the URL functions only
};

OptionPanelStates OptionPanelsFor(ConversionFunction function);

}  // namespace rg_Ombrine_app
