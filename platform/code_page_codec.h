#pragma once
// Code pages and named charsets, our stand-in for the Windows code-page calls
// and the COM text stream: bytes of a charset <-> UTF-16 through ICU.
//
// Encoders behave like Windows' WideCharToMultiByte with flags 0: characters
// the charset lacks are best-fitted where the Windows table has a best fit
// (ICU fallbacks on), and every other one, default-ignorables and lone
// surrogates included, becomes "?". A best fit never turns a character that
// is no control character into one (ESC, TAB, SUB...): that gives "?" too. Decoders behave like ICU's: an invalid
// byte sequence becomes U+FFFD and a truncated tail shows as U+FFFD too.
// Nothing stops at a zero byte or unit: a NUL is data.
//
// Codecs are immutable and may be used from any thread at once.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace qzu {

class CharsetCodec {
 public:
  virtual ~CharsetCodec() = default;
  // Appends the decoded units of `bytes` to `out`.
  virtual void Decode(std::string_view bytes, std::u16string& out) const = 0;
  // Appends the encoded bytes of `text` to `out`.
  virtual void Encode(std::u16string_view text, std::string& out) const = 0;
  // ICU's canonical name of the converter behind the codec.
  virtual const std::string& Name() const = 0;

  // Bulk forms for the hot paths, which write straight into the caller's
  // memory. A codec that cannot bound its output answers 0 to MaxUnits or
  // MaxBytes; the caller then uses Decode or Encode.
  // The most units `byteCount` bytes decode to.
  virtual size_t MaxUnits(size_t /*byteCount*/) const { return 0; }
  // Decodes into `dst`, room for MaxUnits(bytes.size()) units; returns the
  // units written.
  virtual size_t DecodeInto(std::string_view /*bytes*/, char16_t* /*dst*/) const { return 0; }
  // The most bytes `unitCount` units encode to.
  virtual size_t MaxBytes(size_t /*unitCount*/) const { return 0; }
  // Encodes into `dst`, room for MaxBytes(text.size()) bytes; returns the
  // bytes written.
  virtual size_t EncodeInto(std::u16string_view /*text*/, char* /*dst*/) const { return 0; }
  // EncodeInto that also adds to `replaced` the characters written as "?"
  // that were no "?" themselves: those the charset lacks. In every code page
  // a system uses the byte "?" stands for "?" alone (no trail byte is 0x3F).
  virtual size_t EncodeCountingInto(std::u16string_view text, char* dst, size_t& replaced) const;

  // Decoding straight to UTF-8, offered where MaxUtf8Bytes answers more than
  // 0: the bytes qzu::Utf16ToUtf8 makes of what DecodeInto gives.
  // The most bytes `byteCount` bytes decode to.
  virtual size_t MaxUtf8Bytes(size_t /*byteCount*/) const { return 0; }
  // Decodes into `dst`, room for MaxUtf8Bytes(bytes.size()) bytes; returns
  // the bytes written.
  virtual size_t DecodeToUtf8Into(std::string_view /*bytes*/, char* /*dst*/) const { return 0; }
  // The longest start of `bytes` that decodes the same whatever follows it,
  // so that a long input can be decoded in pieces; 0 when there is none.
  virtual size_t IndependentPrefix(std::string_view /*bytes*/) const { return 0; }
};

// The codec of a Windows code page number (936 -> windows-936, 65001 ->
// UTF-8, 437 -> ibm-437...); null when no converter exists for it.
std::shared_ptr<const CharsetCodec> CodePageCodec(int codePage);

// The codec of the system ANSI code page (GetSystemCodePage()). Never null:
// a code page nothing knows falls back to windows-936, the program's default.
std::shared_ptr<const CharsetCodec> SystemCodePageCodec();

// The codec for a charset name: ICU's names and aliases, plus the Windows
// meaning of the names the program's code-page table uses (for example
// "iso-8859-1" is code page 1252 there, "koi8-ru" is 21866). The name is
// compared ignoring ASCII case. Null when the name is empty, not ASCII or
// unknown.
std::shared_ptr<const CharsetCodec> OpenCharset(std::string_view name);

// The Windows code page a table charset name stands for, or 0 when the name
// is not one whose Windows meaning differs from ICU's.
int WindowsCodePageOfName(std::string_view name);

}  // namespace qzu
