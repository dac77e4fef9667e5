#include "app/conversion_core.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <exception>

#include "app/conversion_core_non_text.h"
#include "app/text_bytes.h"
#include "common/boxed.h"
#include "platform/hooks.h"
#include "platform/whole_file_read.h"
#include "textlib/byte_code_forms.h"
#include "textlib/charset_convert.h"
#include "textlib/chinese_script.h"
#include "textlib/digest_text.h"
#include "textlib/escape_codec.h"
#include "textlib/html_to_text.h"
#include "textlib/line_dedupe.h"
#include "textlib/line_reader.h"
#include "textlib/path_helpers.h"
#include "textlib/text_file_load.h"
#include "textlib/url_codec.h"

namespace rg_Ombrine_app {

namespace {

using F = ConversionFunction;
using Pinyin = rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei;

// The read buffer of a batch is kept between files up to this size.
constexpr size_t kKeptReadBufferBytes = size_t{4} << 20;

bool IsByteFunction(F f) {
  return f == F::BytesHex || f == F::Bytes || f == F::Base64 || f == F::Md5 || f == F::Sha1 || f == F::Sha256;
}

bool IsDigest(F f) { return f == F::Md5 || f == F::Sha1 || f == F::Sha256; }

// Whether a charset name, as the detection or the lists give it, is one of
// the UTF-16 forms, whose zero bytes belong to the encoding.
bool IsUtf16Name(const CWString& name) { return name.ToUpperAscii().StartsWith(u"UTF-16"); }

// The options' dedupe modes go to DedupeLines as they are.
static_assert(static_cast<int32_t>(DedupMode::RemoveDuplicates) == kDedupeKeepFirst);
static_assert(static_cast<int32_t>(DedupMode::KeepUnique) == kDedupeKeepUnique);
static_assert(static_cast<int32_t>(DedupMode::KeepDuplicated) == kDedupeKeepSecond);

// Line breaks to CR LF: every CR LF, lone CR and lone LF becomes one CR LF.
// The literal text "[rn]" has always meant a line break here too.
void ToWindowsBreaks(CWString& text) {
  std::u16string out;
  const std::u16string& s = text.Str();
  out.reserve(s.size() + s.size() / 16);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r') {
      if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
      out += u"\r\n";
    } else if (s[i] == u'\n') {
      out += u"\r\n";
    } else {
      out += s[i];
    }
  }
  text = CWString(std::move(out));
  text.Replace(u"[rn]", u"\r\n");
}

void MapAsciiCase(CWString& text, bool upper) {
  for (char16_t& c : text.Str()) c = upper ? QzuAsciiUpper(c) : QzuAsciiLower(c);
}

}  // namespace

bool PathNamesEntry(const CWString& path) {
  // No system path is longer than PATH_MAX bytes or holds a zero byte; a long
  // text is not turned into UTF-8 only to be refused.
  if (path.IsEmpty() || path.Length() >= PATH_MAX || path.View().find(u'\0') != std::u16string_view::npos) return false;
  struct stat st;
  return ::stat(path.ToSystemPath().c_str(), &st) == 0;
}


CWString& ConversionCore::ConvertOne(CWString& result, const CWString& path, int32_t count, int32_t index,
                                     CWString& text, bool nested) {
  // A call from outside starts afresh; the calls it makes add to it.
  if (m_depth == 0) {
    m_replaced = 0;
    m_skippedNonText = false;
    m_sourceStayed = false;
  }
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(m_depth);
  // A conversion that runs out of memory (or meets any other exception of a
  // library) fails alone: the batch goes on with the next file, and the
  // output stage has replaced nothing, as it puts a file in place only once
  // the whole of it is written.
  try {
    return Convert(result, path, count, index, text, nested);
  } catch (const std::exception&) {
    result = path.IsEmpty() ? CWString() : CWString(u"0");
    return result;
  }
}

CWString& ConversionCore::Convert(CWString& result, const CWString& path, int32_t count, int32_t index,
                                  CWString& text, bool nested) {
  PumpPendingMessages();
  Call call;
  call.inputCharset = CharsetNameOfListIndex(m_options.inputCharsetIndex);
  call.outputCharset = CharsetNameOfListIndex(m_options.outputCharsetIndex);
  call.byteFunction = IsByteFunction(m_options.function);
  call.rawInput = call.byteFunction && m_options.charFormat == CharFormat::Raw &&
                  (m_options.direction == ConversionDirection::Encode || IsDigest(m_options.function));
  // Callers of text mode pass no path. A path that names nothing (a file
  // that vanished after the listing, one the system cannot open) is a failed
  // file, never a text to convert.
  const bool fileMode = !path.IsEmpty();
  call.fileMode = fileMode;
  // A file's bytes go into the buffer the core keeps for every file, unless
  // a conversion this one is nested in holds it.
  const bool lendBuffer = fileMode && !m_readBufferLent;
  call.input = lendBuffer ? &m_readBuffer : &call.ownInput;
  struct GiveBack {
    ConversionCore* core;
    ~GiveBack() {
      if (!core) return;
      core->m_readBufferLent = false;
      if (core->m_readBuffer.GetCapacity() > kKeptReadBufferBytes) core->m_readBuffer.Free();
    }
  } giveBack{lendBuffer ? this : nullptr};
  if (lendBuffer) m_readBufferLent = true;

  if (fileMode) {
    ++m_convertedCount;
    m_host.SetTitleHint(u"(" + CWString::FromInt(count) + u"/" + CWString::FromInt(index) + u") 已转换 " +
                            CWString::FromInt(m_convertedCount) + u" 个 " + PathStem(path),
                        CWString());
    // A file that is read is looked at by the read; a path the read cannot
    // open is then asked whether it names anything.
    const bool wordSource = m_options.direction == ConversionDirection::Encode && m_options.function == F::WordToText;
    if (wordSource && !PathNamesEntry(path)) {
      result = u"0";
      return result;
    }
    ReadInput(path, text, call);
    if (call.missing || call.nonText) {
      m_skippedNonText = call.nonText;
      result = u"0";
      return result;
    }
  } else {
    if (!nested && ConvertList(result, text)) return result;
    if (PathNamesEntry(text)) {
      // A file named in the input box that holds no text is refused as the
      // batch skips it: nothing comes of it.
      const CWString source = text;
      ReadInput(source, text, call);
      if (call.nonText) {
        m_skippedNonText = true;
        result.Empty();
        return result;
      }
    } else if (call.rawInput) {
      call.bytes = Utf16LeBytesOf(text);
    }
  }

  if (call.outputCharset.IsEmpty()) call.outputCharset = call.inputCharset;
  if (call.outputCharset.IsEmpty()) call.outputCharset = u"UTF-8";

  if (!call.readFailed) {
    if (m_options.direction == ConversionDirection::Encode) Encode(text, call);
    else Decode(text, call);
  }
  if (call.bytesResult && !fileMode) {
    // Nothing decoded (a blank input) makes no file.
    if (call.bytes.IsEmpty()) text.Empty();
    else WriteRawDecodeOutput(text, call);
  }

  if (fileMode) {
    WriteFileOutput(result, path, text, call);
    if (m_options.deleteOriginal && (result == u"1" || result == WordDocuments::kSaved))
      m_sourceStayed = SourceStillInPlace(path);
  } else if (m_options.direction == ConversionDirection::Decode && m_options.function == F::WordToText) {
    CWString none;
    result = m_word.TextToWordFile(none, CWString(), m_options);
  } else {
    result = text;
  }
  return result;
}

bool ConversionCore::SourceStillInPlace(const CWString& path) {
  struct stat source{};
  if (::lstat(path.ToSystemPath().c_str(), &source) != 0 || !S_ISREG(source.st_mode)) return false;
  if (m_options.saveToNewLocation) return true;
  // Converted in place, the path holds its result (or held it already).
  const int64_t replaced = m_replaced;  // a converted name counts once
  const CWString output = path.Left(path.ReverseFind(kPathSeparator) + 1) + OutputFileName(path);
  m_replaced = replaced;
  struct stat atOutput{};
  return ::lstat(output.ToSystemPath().c_str(), &atOutput) != 0 || atOutput.st_dev != source.st_dev ||
         atOutput.st_ino != source.st_ino;
}

bool ConversionCore::ConvertList(CWString& result, CWString& text) {
  rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei reader;
  reader.SetLineSource(text, CWString());
  if (!reader.HasMoreLines()) return false;
  CWString first = reader.ReadNextLine();
  if (!PathNamesEntry(first)) return false;
  // Every line keeps its place: an empty result is an empty line.
  CWString joined;
  bool firstLine = true;
  for (CWString line = first;;) {
    CWString lineResult;
    ConvertOne(lineResult, CWString(), 0, 0, line, true);
    if (!firstLine) joined += u"\r\n";
    joined += lineResult;
    firstLine = false;
    if (!reader.HasMoreLines()) break;
    line = reader.ReadNextLine();
  }
  result = joined;
  return true;
}

void ConversionCore::ReadInput(const CWString& source, CWString& text, Call& call) {
  if (m_options.direction == ConversionDirection::Encode && m_options.function == F::WordToText) {
    call.wordSourcePath = source;
    return;
  }
  // In file mode, a path that names nothing (a file gone since the listing)
  // is a failed file that leaves the text alone.
  auto failed = [&](bool readOk) {
    if (!readOk && call.fileMode && !PathNamesEntry(source)) call.missing = true;
    call.readFailed = !readOk;
    return call.missing;
  };
  if (call.rawInput) {
    failed(ReadWholeFile(source, call.bytes));
    return;
  }
  CQzuMem& bytes = *call.input;
  // A file that cannot be read, or an input charset nothing can read from, is
  // a failed read: nothing is written for it.
  // What the check below counts is counted while the file is read: its
  // bytes, or the units of a file named as UTF-16.
  NonTextByteCounter byteCounter;
  NonTextUnitCounter unitCounter;
  const bool namedUtf16 = IsUtf16Name(call.inputCharset);
  std::function<void(std::string_view)> grew;
  if (TextCheckEnabled()) {
    if (namedUtf16)
      grew = [&unitCounter](std::string_view read) { unitCounter.Grow(read); };
    else
      grew = [&byteCounter](std::string_view read) { byteCounter.Grow(read); };
  }
  if (failed(ReadWholeFileInto(source, bytes, &call.sourceStatus, grew))) return;
  call.sourceStatusKnown = !call.readFailed;
  const int markLength = call.readFailed ? 0 : TextCharsetOf(bytes, call.inputCharset);
  // A file that holds no text is left alone. Read as UTF-16, its zero bytes
  // are part of the text: only its characters tell.
  const bool utf16Input = IsUtf16Name(call.inputCharset);
  if (!call.readFailed && !utf16Input &&
      byteCounter.HoldsNoText(bytes.View(), static_cast<size_t>(std::max(markLength, 0)))) {
    call.nonText = true;
    return;
  }
  const bool pureConversion = m_options.function == F::None && call.fileMode;
  if (!call.readFailed && pureConversion &&
      AnsiDecodesStraightToUtf8(call.inputCharset,
                                call.outputCharset.IsEmpty() ? call.inputCharset : call.outputCharset)) {
    call.ansi = bytes.View().substr(std::min(static_cast<size_t>(std::max(markLength, 0)), bytes.GetSize()));
    call.ansiToUtf8 = true;
    return;
  }
  const size_t fileSize = bytes.GetSize();
  const bool unitsCounted = !call.readFailed && namedUtf16 && unitCounter.Finish(bytes.View());
  CWString utf16(u"UTF-16");  // the input charset's name is rewritten as the converter resolves it
  if (!call.readFailed) call.readFailed = !ConvertCharset(bytes, call.inputCharset, utf16, markLength);
  // The units counted while reading are those converted when the file was
  // read as UTF-16LE and only lost its mark.
  const CWString resolved = call.inputCharset.ToUpperAscii();
  const bool sameUnits = unitsCounted && (resolved == u"UTF-16" || resolved == u"UTF-16LE") && markLength % 2 == 0 &&
                         bytes.GetSize() + static_cast<size_t>(std::max(markLength, 0)) == fileSize;
  if (!call.readFailed && utf16Input &&
      (sameUnits ? unitCounter.HoldsNoText(bytes.GetSize() / 2)
                 : UnitsHoldNoText(std::u16string_view(reinterpret_cast<const char16_t*>(bytes.GetData()),
                                                       bytes.GetSize() / 2)))) {
    call.nonText = true;
    return;
  }
  if (call.readFailed) {
    text.Empty();
  } else if (pureConversion) {
    // A pure charset conversion: the UTF-16 bytes go straight to the output
    // stage, sparing two copies of what may be a very large file.
    call.utf16 = &bytes;
  } else {
    text = TakeTextOfUtf16Le(bytes);  // a large file is not held twice as UTF-16
  }
}

void ConversionCore::HtmlSteps(CWString& text, const CWString& elementList) const {
  static const char16_t* const kReplacements[][2] = {
      {u"<h1", u"\r\n<h1"}, {u"</h1>", u"</h1>\r\n"}, {u"<h2", u"\r\n<h2"},   {u"</h2>", u"</h2>\r\n"},
      {u"<h3", u"\r\n<h3"}, {u"</h3>", u"</h3>\r\n"}, {u"<p", u"\r\n<p"},     {u"</br>", u"</br>\r\n"},
      {u"<br>", u"</br>\r\n"}, {u"<br >", u"<br >\r\n"}, {u"<br />", u"<br />\r\n"},
  };
  for (const auto& r : kReplacements) text.Replace(r[0], r[1], true);
  const bool images = m_options.htmlLayout == HtmlLayout::TypesetImages || m_options.htmlLayout == HtmlLayout::TypesetImagesP;
  FilterHtmlTags(text, CWString(), images ? CWString(u"img") : CWString(), elementList, CWString());
  if (m_options.htmlLayout != HtmlLayout::Basic) {
    const bool p = m_options.htmlLayout == HtmlLayout::TypesetImagesP;
    CleanTextLines(text, p ? CWString(u"<p>") : CWString(), p ? CWString(u"</p>") : CWString());
  }
}

void ConversionCore::Encode(CWString& text, Call& call) {
  const ConversionOptions& o = m_options;
  auto toBytes = [&] {
    if (call.rawInput) return;
    if (o.charFormat == CharFormat::Ansi) CountAnsiReplacements(text);
    TextToBytes(text, o.charFormat, call.bytes);
  };
  switch (o.function) {
    case F::None:
      break;
    case F::Ucs2:
      EscapeText(text, o.escapeAscii, o.escapeLineBreaks, kEscapeBackslash);
      break;
    case F::UnicodeHex:
      EscapeText(text, o.escapeAscii, o.escapeLineBreaks, kEscapeHtmlHex);
      break;
    case F::UnicodeDecimal:
      EscapeText(text, o.escapeAscii, o.escapeLineBreaks, kEscapeHtmlDecimal);
      break;
    case F::Url:
      CountAnsiReplacements(text);
      UrlEncode(text, kUrlSystemCodePage, o.escapeAscii, o.escapeLineBreaks, o.escapeJoiners, CWString());
      break;
    case F::UrlUtf8:
      UrlEncode(text, kUrlUtf8, o.escapeAscii, o.escapeLineBreaks, o.escapeJoiners, CWString());
      break;
    case F::BytesHex:
      toBytes();
      text = BytesToHexText(call.bytes);
      break;
    case F::Bytes:
      toBytes();
      BytesToDecimalList(call.bytes, text);
      break;
    case F::Base64:
      toBytes();
      text = Base64Of(call.bytes);
      break;
    case F::Md5:
      toBytes();
      text = Md5Text(call.bytes, true);
      break;
    case F::Sha1:
      toBytes();
      text = Sha1Text(call.bytes, true);
      break;
    case F::Sha256:
      toBytes();
      text = Sha256Text(call.bytes, true);
      break;
    case F::BreakWin:
      ToWindowsBreaks(text);
      break;
    case F::BreakUnix:
      text.Replace(u"\r\n", u"\n");
      text.Replace(u"\r", u"\n");
      break;
    case F::BreakMac:
      text.Replace(u"\r\n", u"\r");
      text.Replace(u"\n", u"\r");
      break;
    case F::Traditional:
      ConvertChineseScript(text, kToTraditionalChinese);
      break;
    case F::UpperCase:
      MapAsciiCase(text, true);
      break;
    case F::Dedupe: {
      CWString separator = o.dedupSeparator;
      rg_Ombrine_base::rg_ZhengShuLei counter;
      DedupeLines(text, separator, static_cast<int32_t>(o.dedupMode), o.dedupSubSeparator,
                  static_cast<int32_t>(o.dedupSubIndex.ToInt()), 1, 1, counter);
      break;
    }
    case F::HtmlToText:
      HtmlSteps(text, CWString(u"head,script,style,object,select,code,button"));
      break;
    case F::WordToText:
      text = m_word.WordFileToText(call.wordSourcePath, o);
      // A message in place of the document's text is no result for a file.
      if (call.fileMode && m_word.TextIsMessage()) call.readFailed = true;
      break;
    case F::Pinyin:
      text = m_pinyin.ConvertToPinyin(text, o.pinyinCapitalize, o.pinyinTone, CWString(),
                                      o.pinyinReplaceFormat ? Pinyin::kTemplate : Pinyin::kKeepOthers, o.pinyinFormat,
                                      static_cast<int>(o.pinyinPercent.ToInt()));
      break;
  }
}

void ConversionCore::Decode(CWString& text, Call& call) {
  const ConversionOptions& o = m_options;
  auto toBytes = [&] {
    if (call.rawInput) return;
    if (o.charFormat == CharFormat::Ansi) CountAnsiReplacements(text);
    TextToBytes(text, o.charFormat, call.bytes);
  };
  switch (o.function) {
    case F::None:
    case F::WordToText:
      break;
    case F::Ucs2:
      UnescapeText(text, kEscapeBackslash);
      break;
    case F::UnicodeHex:
      UnescapeText(text, kEscapeHtmlHex);
      break;
    case F::UnicodeDecimal:
      UnescapeText(text, kEscapeHtmlDecimal);
      break;
    case F::Url:
      UrlDecode(text, kUrlSystemCodePage, CWString());
      break;
    case F::UrlUtf8:
      UrlDecode(text, kUrlUtf8, CWString());
      break;
    case F::BytesHex:
      call.bytes.Empty();
      HexTextToBytes(text.View(), call.bytes);
      BytesResultToText(text, call);
      break;
    case F::Bytes:
      call.bytes.Empty();
      DecimalListToBytes(text, call.bytes);
      BytesResultToText(text, call);
      break;
    case F::Base64:
      if (const Base64Fault fault = FindBase64Fault(text.View()); fault.kind != Base64Fault::kNone) {
        // Not Base64: nothing is decoded, nothing is written. Only a single
        // decode says so; a file of a batch (or its converted name) fails
        // without a box for each.
        if (!call.fileMode && !m_readBufferLent) m_host.ShowInformation(NotBase64Message(text, fault));
        call.readFailed = true;
        text.Empty();
        break;
      }
      call.bytes = Base64Decode(text);
      BytesResultToText(text, call);
      break;
    case F::Md5:
      toBytes();
      text = Md5Text(call.bytes, false);
      break;
    case F::Sha1:
      toBytes();
      text = Sha1Text(call.bytes, false);
      break;
    case F::Sha256:
      toBytes();
      text = Sha256Text(call.bytes, false);
      break;
    case F::BreakWin:
    case F::BreakUnix:
    case F::BreakMac:
    case F::Traditional:
    case F::UpperCase:
    case F::Pinyin:
      if (o.function == F::Traditional) ConvertChineseScript(text, kToSimplifiedChinese);
      else if (o.function == F::UpperCase) MapAsciiCase(text, false);
      else Encode(text, call);  // line breaks and pinyin work the same both ways
      break;
    case F::Dedupe: {
      CWString separator = o.dedupSeparator;
      rg_Ombrine_base::rg_ZhengShuLei counter;
      DedupeLines(text, separator, static_cast<int32_t>(o.dedupMode), o.dedupSubSeparator,
                  static_cast<int32_t>(o.dedupSubIndex.ToInt()), 0, 0, counter);
      break;
    }
    case F::HtmlToText:
      HtmlSteps(text, CWString());
      break;
  }
}

void ConversionCore::CountAnsiReplacements(const CWString& text) {
  size_t replaced = 0;
  EncodeUtf16InPieces(text.View(), CWString(u"ANSI"), [](const void*, size_t) { return true; }, &replaced);
  m_replaced += static_cast<int64_t>(replaced);
}

void ConversionCore::BytesResultToText(CWString& text, Call& call) {
  if (!BytesToText(call.bytes, m_options.charFormat, text)) call.bytesResult = true;
}

}  // namespace rg_Ombrine_app
