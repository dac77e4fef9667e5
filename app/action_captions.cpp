#include "app/action_captions.h"

namespace rg_Ombrine_app {

ActionCaptions ActionCaptionsOf(ConversionFunction function) {
  using F = ConversionFunction;
  const CWString cap = FunctionCaption(function);
  switch (function) {
    case F::Md5:
    case F::Sha1:
    case F::Sha256:
      return {cap + u"校验", cap + u"校验2(小写)", CWString(u"批量校验"), CWString(u"批量校验2")};
    case F::Dedupe:
      return {u"文本" + cap, u"文本" + cap + u"2(保留空字符)", CWString(u"批量去重"),
              CWString(u"批量去重2")};
    case F::UpperCase:
      return {CWString(u"字母到大写"), CWString(u"字母到小写"), CWString(u"批量到大写"), CWString(u"批量到小写")};
    case F::Traditional:
      return {CWString(u"简体到繁体"), CWString(u"繁体到简体"), CWString(u"批量到繁体"), CWString(u"批量到简体")};
    case F::BreakWin:
    case F::BreakUnix:
    case F::BreakMac:
      return {u"转换为" + cap + u"换行格式", CWString(), CWString(u"批量转换"), CWString()};
    case F::HtmlToText:
      // "sytle" is the caption users know; keep it so.
      return {cap, cap + u"2(保留script、sytle之类代码)", CWString(u"批量到txt"), CWString(u"批量到txt2")};
    case F::WordToText:
      return {CWString(u"Word到TXT文本(仅直接处理文件)"), CWString(u"TXT文本到Word(仅直接处理文件)"),
              CWString(u"批量到TXT"), CWString(u"批量到DOC")};
    case F::Pinyin:
      return {cap + u"伪原创", CWString(), CWString(u"批量拼音伪原创"), CWString()};
    case F::Url:
    case F::UrlUtf8:
    case F::Ucs2:
    case F::UnicodeDecimal:
    case F::UnicodeHex:
    case F::BytesHex:
    case F::Bytes:
    case F::Base64:
      return {cap + u"编码", cap + u"解码", CWString(u"批量编码"), CWString(u"批量解码")};
    case F::None:
      break;
  }
  return {CWString(u"没有选择功能，请直接使用批量转换，设置输入输出编码"), CWString(), CWString(u"批量转码"),
          CWString()};
}

int EncodeButtonWidth(int encodeLeft, int decodeLeft, int decodeWidth, bool decodeCaptionEmpty) {
  return decodeCaptionEmpty ? decodeLeft + decodeWidth - encodeLeft : decodeWidth;
}

}  // namespace rg_Ombrine_app
