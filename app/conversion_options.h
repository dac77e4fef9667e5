#pragma once
// The conversion functions of the tool, the two directions, and the record of
// options through which the conversion core receives what the window's
// controls say. The main window fills a new record right before every call,
// so a change made while a batch runs applies to the files after it.
#include <atomic>
#include <cstdint>

#include "common/wstring.h"

namespace rg_Ombrine_app {

// One value per function toggle, in the order the window tests the toggles.
enum class ConversionFunction {
  None,
  Ucs2,
  UnicodeDecimal,
  UnicodeHex,
  Url,
  UrlUtf8,
  BytesHex,
  Bytes,
  Base64,
  BreakWin,
  BreakUnix,
  BreakMac,
  Traditional,
  UpperCase,
  Dedupe,
  HtmlToText,
  WordToText,
  Md5,
  Sha1,
  Sha256,
  Pinyin,
};
constexpr int kConversionFunctionCount = 21;

// The caption of a function's toggle button ("无", "UCS2", ... "拼音").
CWString FunctionCaption(ConversionFunction function);

enum class ConversionDirection { Encode = 0, Decode = 1 };

// "字符格式：" radios: how byte functions turn text into bytes and back.
enum class CharFormat { Raw, Ansi, Utf8, Unicode, UnicodeBe };
// "html到txt" layouts.
enum class HtmlLayout { Basic, Typeset, TypesetImages, TypesetImagesP };
// "word到txt" layouts.
enum class WordLayout { Basic, Typeset, TypesetP };
// "去重类型：" radios; the values are the modes of the de-duplication.
enum class DedupMode { RemoveDuplicates = 0, KeepUnique = 1, KeepDuplicated = 2 };

struct ConversionOptions {
  ConversionFunction function = ConversionFunction::None;
  ConversionDirection direction = ConversionDirection::Encode;
  int32_t inputCharsetIndex = 0;   // 0 自动识别, 1 ANSI, 2 UTF-8, 3 Unicode, 4 Unicode BE; -1 nothing
  int32_t outputCharsetIndex = 0;  // the same list
  CharFormat charFormat = CharFormat::Ansi;
  bool escapeAscii = false;
  bool escapeLineBreaks = false;
  bool escapeJoiners = false;
  HtmlLayout htmlLayout = HtmlLayout::Basic;
  CWString htmlExtension = CWString(u"自动");
  WordLayout wordLayout = WordLayout::Basic;
  DedupMode dedupMode = DedupMode::RemoveDuplicates;
  CWString dedupSeparator;
  CWString dedupSubSeparator;
  CWString dedupSubIndex;
  bool pinyinCapitalize = false;
  bool pinyinTone = false;
  bool pinyinReplaceFormat = false;
  CWString pinyinFormat = CWString(u"汉字[拼音]");
  CWString pinyinPercent = CWString(u"100%");
  CWString fileFilter = CWString(u"*.htm|*.html|*.txt");
  bool walkSubfolders = false;
  bool stripBom = false;
  bool deleteOriginal = false;
  bool saveToNewLocation = false;
  bool convertFileNames = false;
};

// The charset name of a position of the "输入编码" / "输出编码" lists: "",
// "ANSI", "UTF-8", "UTF-16", "UTF-16BE"; out-of-range positions read as 0.
CWString CharsetNameOfListIndex(int32_t index);

// Set by a click on the running batch button and by a Word engine that could
// not be started during a conversion; cleared when a batch starts and ends.
extern std::atomic<bool> BatchStopRequested;

}  // namespace rg_Ombrine_app
