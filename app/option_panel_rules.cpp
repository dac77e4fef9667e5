#include "app/option_panel_rules.h"

#include <initializer_list>

namespace rg_Ombrine_app {

OptionPanelStates OptionPanelsFor(ConversionFunction function) {
  using F = ConversionFunction;
  const auto is = [function](std::initializer_list<F> set) {
    for (F f : set)
      if (f == function) return true;
    return false;
  };
  OptionPanelStates states;
  states.txtPanel = function == F::HtmlToText;
  states.wordTxtPanel = function == F::WordToText;
  states.fileFilterEnabled = function != F::WordToText;
  states.dedupPanel = function == F::Dedupe;
  states.charFormatPanel = is({F::BytesHex, F::Bytes, F::Base64, F::Md5, F::Sha1, F::Sha256});
  states.encodeIncludesPanel = is({F::Url, F::UrlUtf8, F::Ucs2, F::UnicodeDecimal, F::UnicodeHex});
  states.joinersEnabled = is({F::Url, F::UrlUtf8});
  states.pinyinPanel = function == F::Pinyin;
  return states;
}

}  // namespace rg_Ombrine_app
