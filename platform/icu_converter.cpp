#include "platform/icu_converter.h"

#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/uchar.h>
#include <unicode/uset.h>

#include <algorithm>
#include <memory>

namespace qzu::icu {

namespace {

// Windows writes "?" for every character a code page lacks; ICU's default
// substitution silently drops the default-ignorable ones (U+034F, U+115F...)
// and may use a charset-specific substitute, so we write "?" ourselves.
void QuestionMarkFromUnicode(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                             UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *err = U_ZERO_ERROR;
  ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
}

}  // namespace

ConverterPtr OpenDecoder(const std::string& name) {
  UErrorCode err = U_ZERO_ERROR;
  ConverterPtr cnv(ucnv_open(name.c_str(), &err));
  if (U_FAILURE(err)) return nullptr;
  return cnv;
}

ConverterPtr OpenEncoder(const std::string& name) {
  ConverterPtr cnv = OpenDecoder(name);
  if (!cnv) return nullptr;
  // Best fit as Windows does (¥ -> ￥, ³ -> 3 ...).
  ucnv_setFallback(cnv.get(), true);
  UErrorCode err = U_ZERO_ERROR;
  ucnv_setFromUCallBack(cnv.get(), QuestionMarkFromUnicode, nullptr, nullptr, nullptr, &err);
  return cnv;
}

void Decode(UConverter* cnv, std::string_view bytes, std::u16string& out) {
  const size_t start = out.size();
  // Most charsets give at most one unit per byte; grow when one does not.
  size_t capacity = bytes.size() + 16;
  out.resize(start + capacity);
  const char* src = bytes.data();
  const char* srcEnd = src + bytes.size();
  size_t written = 0;
  for (;;) {
    UChar* dst = reinterpret_cast<UChar*>(out.data() + start + written);
    UChar* dstBegin = dst;
    UChar* dstEnd = reinterpret_cast<UChar*>(out.data() + start + capacity);
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(cnv, &dst, dstEnd, &src, srcEnd, nullptr, true, &err);
    written += static_cast<size_t>(dst - dstBegin);
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = capacity * 2 + 16;
    out.resize(start + capacity);
  }
  out.resize(start + written);
}

namespace {

// Encodes `text`, flushing the converter's state only when `flush` is set, so
// that the text can be encoded in parts.
void EncodePart(UConverter* cnv, std::u16string_view text, bool flush, std::string& out) {
  const size_t start = out.size();
  size_t capacity = text.size() * static_cast<size_t>(ucnv_getMaxCharSize(cnv)) + 16;
  out.resize(start + capacity);
  const UChar* src = reinterpret_cast<const UChar*>(text.data());
  const UChar* srcEnd = src + text.size();
  size_t written = 0;
  for (;;) {
    char* dst = out.data() + start + written;
    char* dstBegin = dst;
    char* dstEnd = out.data() + start + capacity;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_fromUnicode(cnv, &dst, dstEnd, &src, srcEnd, nullptr, flush, &err);
    written += static_cast<size_t>(dst - dstBegin);
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = capacity * 2 + 16;
    out.resize(start + capacity);
  }
  out.resize(start + written);
}

bool IsControl(UChar32 c) { return u_charType(c) == U_CONTROL_CHAR; }

std::u16string UnitsOf(UChar32 c) {
  if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
  return {static_cast<char16_t>(0xD7C0 + (c >> 10)), static_cast<char16_t>(0xDC00 | (c & 0x3FF))};
}

// Encodes `text`, writing "?" (through the converter, so that a stateful
// charset stays in step) for every character of `refused`.
void EncodeRefusing(UConverter* cnv, std::u16string_view text, const std::vector<UChar32>& refused,
                    std::string& out) {
  size_t from = 0;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    UChar32 c = text[i];
    if ((c & 0xFC00) == 0xD800 && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      n = 2;
    }
    if (c >= refused.front() && std::binary_search(refused.begin(), refused.end(), c)) {
      EncodePart(cnv, text.substr(from, i - from), false, out);
      EncodePart(cnv, u"?", false, out);
      from = i + n;
    }
    i += n;
  }
  EncodePart(cnv, text.substr(from), true, out);
}

}  // namespace

void Encode(UConverter* cnv, std::u16string_view text, std::string& out) { EncodePart(cnv, text, true, out); }

std::vector<UChar32> ControlBestFits(const std::string& name) {
  std::vector<UChar32> refused;
  ConverterPtr enc = OpenEncoder(name);
  ConverterPtr dec = OpenDecoder(name);
  if (!enc || !dec) return refused;
  // The best fits are the characters mapped one way only.
  struct SetCloser {
    void operator()(USet* set) const { uset_close(set); }
  };
  std::unique_ptr<USet, SetCloser> fallbacks(uset_openEmpty()), roundTrips(uset_openEmpty());
  UErrorCode err = U_ZERO_ERROR;
  ucnv_getUnicodeSet(enc.get(), fallbacks.get(), UCNV_ROUNDTRIP_AND_FALLBACK_SET, &err);
  ucnv_getUnicodeSet(enc.get(), roundTrips.get(), UCNV_ROUNDTRIP_SET, &err);
  if (U_FAILURE(err)) return refused;  // a charset without tables has no best fits
  uset_removeAll(fallbacks.get(), roundTrips.get());
  const int32_t ranges = uset_getItemCount(fallbacks.get());
  for (int32_t r = 0; r < ranges; ++r) {
    UChar32 first = 0, last = 0;
    err = U_ZERO_ERROR;
    if (uset_getItem(fallbacks.get(), r, &first, &last, nullptr, 0, &err) != 0) continue;  // a string item
    for (UChar32 c = first; c <= last; ++c) {
      if (IsControl(c)) continue;
      std::string bytes;
      ucnv_resetFromUnicode(enc.get());
      Encode(enc.get(), UnitsOf(c), bytes);
      std::u16string back;
      ucnv_resetToUnicode(dec.get());
      Decode(dec.get(), bytes, back);
      if (back.size() == 1 && IsControl(back[0])) refused.push_back(c);
    }
  }
  return refused;  // the set's ranges come in ascending order
}

namespace {

// Any ICU converter; a fresh converter per call keeps the codec usable from
// several threads (opening one is cheap once ICU has loaded its table).
class IcuCodec : public CharsetCodec {
 public:
  explicit IcuCodec(std::string name) : m_name(std::move(name)), m_refused(ControlBestFits(m_name)) {}
  void Decode(std::string_view bytes, std::u16string& out) const override {
    if (bytes.empty()) return;
    if (ConverterPtr cnv = OpenDecoder(m_name)) icu::Decode(cnv.get(), bytes, out);
  }
  void Encode(std::u16string_view text, std::string& out) const override {
    if (text.empty()) return;
    ConverterPtr cnv = OpenEncoder(m_name);
    if (!cnv) return;
    if (m_refused.empty()) icu::Encode(cnv.get(), text, out);
    else EncodeRefusing(cnv.get(), text, m_refused, out);
  }
  const std::string& Name() const override { return m_name; }

 private:
  std::string m_name;
  std::vector<UChar32> m_refused;  // see ControlBestFits
};

}  // namespace

std::shared_ptr<const CharsetCodec> MakeIcuCodec(const std::string& name) {
  return std::make_shared<IcuCodec>(name);
}

}  // namespace qzu::icu
