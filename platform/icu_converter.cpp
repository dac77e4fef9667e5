#include "platform/icu_converter.h"

#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

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

void Encode(UConverter* cnv, std::u16string_view text, std::string& out) {
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
    ucnv_fromUnicode(cnv, &dst, dstEnd, &src, srcEnd, nullptr, true, &err);
    written += static_cast<size_t>(dst - dstBegin);
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    capacity = capacity * 2 + 16;
    out.resize(start + capacity);
  }
  out.resize(start + written);
}

namespace {

// Any ICU converter; a fresh converter per call keeps the codec usable from
// several threads (opening one is cheap once ICU has loaded its table).
class IcuCodec : public CharsetCodec {
 public:
  explicit IcuCodec(std::string name) : m_name(std::move(name)) {}
  void Decode(std::string_view bytes, std::u16string& out) const override {
    if (bytes.empty()) return;
    if (ConverterPtr cnv = OpenDecoder(m_name)) icu::Decode(cnv.get(), bytes, out);
  }
  void Encode(std::u16string_view text, std::string& out) const override {
    if (text.empty()) return;
    if (ConverterPtr cnv = OpenEncoder(m_name)) icu::Encode(cnv.get(), text, out);
  }
  const std::string& Name() const override { return m_name; }

 private:
  std::string m_name;
};

}  // namespace

std::shared_ptr<const CharsetCodec> MakeIcuCodec(const std::string& name) {
  return std::make_shared<IcuCodec>(name);
}

}  // namespace qzu::icu
