#include "textlib/charset_convert.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "common/scratch_buffer.h"
#include "common/utf.h"
#include "platform/code_page_codec.h"
#include "platform/system_code_page.h"
#include "textlib/charset_detect.h"
#include "textlib/code_page_table.h"

static_assert(std::endian::native == std::endian::little, "UTF-16LE buffers are read as native units");

namespace {

// The units of a UTF-16LE buffer; an odd trailing byte is the low byte of a
// last unit whose high byte is 0.
std::u16string UnitsOf(const CQzuMem& bytes) {
  const size_t size = bytes.GetSize();
  std::u16string text((size + 1) / 2, u'\0');
  if (size) std::memcpy(text.data(), bytes.GetData(), size);  // the high byte of an odd tail stays 0
  return text;
}

// Both throw std::bad_alloc, leaving `bytes` as it was, when memory runs out:
// a buffer left as it was would pass for converted.
void AssignUnits(CQzuMem& bytes, std::u16string_view text) {
  if (!bytes.Assign(text.data(), text.size() * sizeof(char16_t))) throw std::bad_alloc();
}

void AssignBytes(CQzuMem& bytes, std::string_view data) {
  if (!bytes.Assign(data.data(), data.size())) throw std::bad_alloc();
}

void DropMark(CQzuMem& bytes, int markLength) {
  if (markLength <= 0) return;
  const size_t n = static_cast<size_t>(markLength);
  bytes.Remove(0, n < bytes.GetSize() ? n : bytes.GetSize());
}

// The native charsets, by their upper-cased names.
enum class Native { kNone, kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// The UTF names come first: on a system whose code page is 65001 the system
// name is "UTF-8", and our own loop is the faster way there.
Native NativeKind(const CWString& upper, const CWString& ansiName) {
  if (upper == u"UTF-8") return Native::kUtf8;
  if (upper == u"UTF-16" || upper == u"UTF-16LE") return Native::kUtf16Le;
  if (upper == u"UTF-16BE") return Native::kUtf16Be;
  if (upper == ansiName) return Native::kAnsi;
  return Native::kNone;
}

void NativeConvert(CQzuMem& bytes, Native from, Native to) {
  switch (from) {
    case Native::kAnsi:
      AnsiToUtf16(bytes);
      break;
    case Native::kUtf8:
      Utf8ToUtf16(bytes);
      break;
    case Native::kUtf16Be:
      SwapUtf16ByteOrder(bytes);
      break;
    default:
      break;
  }
  switch (to) {
    case Native::kAnsi:
      Utf16ToAnsi(bytes);
      break;
    case Native::kUtf8:
      Utf16ToUtf8(bytes);
      break;
    case Native::kUtf16Be:
      SwapUtf16ByteOrder(bytes);
      break;
    default:
      break;
  }
}

// Decodes bytes of any charset into text; false when the charset is unknown.
bool DecodeAny(std::string_view bytes, Native kind, const CWString& name, std::u16string& text) {
  switch (kind) {
    case Native::kAnsi:
      qzu::SystemCodePageCodec()->Decode(bytes, text);
      return true;
    case Native::kUtf8:
      qzu::AppendUtf8ToUtf16(bytes, text);
      return true;
    case Native::kUtf16Le:
    case Native::kUtf16Be: {
      CQzuMem copy(bytes.data(), bytes.size());
      if (kind == Native::kUtf16Be) SwapUtf16ByteOrder(copy);
      text += UnitsOf(copy);
      return true;
    }
    case Native::kNone:
      break;
  }
  auto codec = qzu::OpenCharset(name.ToUtf8());
  if (!codec) return false;
  codec->Decode(bytes, text);
  return true;
}

bool EncodeAny(std::u16string_view text, Native kind, const CWString& name, CQzuMem& bytes) {
  std::string out;
  switch (kind) {
    case Native::kAnsi:
      qzu::SystemCodePageCodec()->Encode(text, out);
      break;
    case Native::kUtf8:
      qzu::AppendUtf16ToUtf8(text, out);
      break;
    case Native::kUtf16Le:
    case Native::kUtf16Be:
      AssignUnits(bytes, text);
      if (kind == Native::kUtf16Be) SwapUtf16ByteOrder(bytes);
      return true;
    case Native::kNone: {
      auto codec = qzu::OpenCharset(name.ToUtf8());
      if (!codec) return false;
      codec->Encode(text, out);
      break;
    }
  }
  AssignBytes(bytes, out);
  return true;
}

bool KnownOnStreamPath(Native kind, const CWString& name) {
  return kind != Native::kNone || qzu::OpenCharset(name.ToUtf8()) != nullptr;
}

}  // namespace

namespace {

// The system code page's upper-cased table name. A code page without a row
// keeps the name "ANSI" and still converts natively, rather than turning into
// an empty name nothing can convert.
CWString AnsiName() {
  const CWString systemName = CodePageToCharset(GetSystemCodePage()).ToUpperAscii();
  return systemName.IsEmpty() ? CWString(u"ANSI") : systemName;
}

// "ANSI" (any case) becomes the system code page's name, "UTF8" "UTF-8".
void ResolveName(CWString& name, const CWString& ansiName) {
  const CWString upper = name.ToUpperAscii();
  if (upper == u"ANSI") name = ansiName;
  else if (upper == u"UTF8") name = CWString(u"UTF-8");
}

}  // namespace

namespace {

bool ConvertNamed(CQzuMem& bytes, CWString& from, CWString& to, int markLength) {
  const CWString ansiName = AnsiName();
  ResolveName(from, ansiName);
  ResolveName(to, ansiName);
  const CWString upperFrom = from.ToUpperAscii();
  const CWString upperTo = to.ToUpperAscii();

  if (upperFrom == upperTo) {
    DropMark(bytes, markLength);
    return true;
  }

  const CWString nativeSet = ansiName + u"|UTF-8|UTF-16|UTF-16LE|UTF-16BE";
  const CWString separators(u"|");
  const bool fromNative = CharsetInList(upperFrom, nativeSet, separators);
  const bool toNative = CharsetInList(upperTo, nativeSet, separators);
  const Native fromKind = fromNative ? NativeKind(upperFrom, ansiName) : Native::kNone;
  const Native toKind = toNative ? NativeKind(upperTo, ansiName) : Native::kNone;

  if (fromNative && toNative) {
    DropMark(bytes, markLength);
    NativeConvert(bytes, fromKind, toKind);
    return true;
  }

  // Any other charset: decode to text, encode the text. Both names are
  // checked first so that an unknown one leaves the caller's bytes alone.
  if (!KnownOnStreamPath(fromKind, from) || !KnownOnStreamPath(toKind, to)) return false;
  DropMark(bytes, markLength);
  std::u16string text;
  DecodeAny(bytes.View(), fromKind, from, text);
  return EncodeAny(text, toKind, to, bytes);
}

}  // namespace

bool ConvertCharset(CQzuMem& bytes, CWString& from, CWString& to, int markLength) {
  try {
    return ConvertNamed(bytes, from, to, markLength);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool ConvertCharset(CQzuMem& bytes, const CWString& from, const CWString& to, int markLength) {
  CWString fromCopy = from;
  CWString toCopy = to;
  return ConvertCharset(bytes, fromCopy, toCopy, markLength);
}

bool CharsetIsKnown(const CWString& name) {
  const CWString ansiName = AnsiName();
  CWString resolved = name;
  ResolveName(resolved, ansiName);
  const CWString upper = resolved.ToUpperAscii();
  return KnownOnStreamPath(NativeKind(upper, ansiName), resolved);
}

namespace {

// The characters of `units` that became "?" in `bytes`, their encoding in
// the system code page. In every code page a system uses, the byte "?"
// stands for "?" alone (no trail byte of a double-byte code page is 0x3F),
// so each "?" beyond those of the text is a character the code page lacked.
size_t QuestionMarksAdded(std::u16string_view units, const void* bytes, size_t size) {
  const char* const b = static_cast<const char*>(bytes);
  const size_t written = static_cast<size_t>(std::count(b, b + size, '?'));
  const size_t given = static_cast<size_t>(std::count(units.begin(), units.end(), u'?'));
  return written > given ? written - given : 0;
}

}  // namespace

bool EncodeUtf16InPieces(std::u16string_view units, const CWString& to,
                         const std::function<bool(const void*, size_t)>& sink, size_t* replaced) {
  const CWString ansiName = AnsiName();
  CWString name = to;
  ResolveName(name, ansiName);
  const CWString upper = name.ToUpperAscii();
  const Native kind = NativeKind(upper, ansiName);
  if (replaced) *replaced = 0;
  size_t* const count = kind == Native::kAnsi ? replaced : nullptr;
  if (kind == Native::kUtf16Le) return sink(units.data(), units.size() * 2);

  // How one piece of units is encoded into room for `maxPerUnit` bytes each.
  size_t maxPerUnit = 0;
  std::function<size_t(std::u16string_view, char*)> encode;
  std::shared_ptr<const qzu::CharsetCodec> codec;
  if (kind == Native::kUtf8) {
    maxPerUnit = 3;
    encode = [](std::u16string_view piece, char* dst) { return qzu::Utf16ToUtf8(piece.data(), piece.size(), dst); };
  } else if (kind == Native::kUtf16Be) {
    maxPerUnit = 2;
    encode = [](std::u16string_view piece, char* dst) {
      for (const char16_t u : piece) {
        *dst++ = static_cast<char>(u >> 8);
        *dst++ = static_cast<char>(u & 0xFF);
      }
      return piece.size() * 2;
    };
  } else if (kind == Native::kAnsi && (codec = qzu::SystemCodePageCodec())->MaxBytes(1) != 0) {
    maxPerUnit = codec->MaxBytes(1);
    // The encoder counts what it replaces as it goes.
    if (count) {
      encode = [&codec, count](std::u16string_view piece, char* dst) {
        return codec->EncodeCountingInto(piece, dst, *count);
      };
    } else {
      encode = [&codec](std::u16string_view piece, char* dst) { return codec->EncodeInto(piece, dst); };
    }
  }
  if (!encode) {
    // No piecewise encoder for this charset: the whole text at once.
    if (!KnownOnStreamPath(kind, name)) return false;
    CQzuMem bytes;
    if (!EncodeAny(units, kind, name, bytes)) return false;
    if (count) *count = QuestionMarksAdded(units, bytes.GetData(), bytes.GetSize());
    return sink(bytes.GetData(), bytes.GetSize());
  }

  // Pieces never end between the two halves of a surrogate pair, so the
  // bytes are those of the whole text encoded at once.
  constexpr size_t kPieceUnits = 1 << 16;
  ScratchBuffer room;  // the thread's, reused by every file of a batch
  if (!room.Reserve(std::min(units.size(), kPieceUnits) * maxPerUnit + 1)) throw std::bad_alloc();
  while (!units.empty()) {
    size_t n = std::min(units.size(), kPieceUnits);
    if (n < units.size() && (units[n - 1] & 0xFC00) == 0xD800) --n;
    const size_t bytes = encode(units.substr(0, n), room.Data());
    if (!sink(room.Data(), bytes)) return false;
    units.remove_prefix(n);
  }
  return true;
}

namespace {

// The units of a UTF-16LE buffer in place. The buffer's storage comes from
// malloc, so it is aligned for units; an odd trailing byte is left out here.
std::u16string_view WholeUnitsOf(const CQzuMem& bytes) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(bytes.GetData()), bytes.GetSize() / 2);
}

// The unit an odd trailing byte stands for: its low byte, high byte 0.
bool OddTailUnit(const CQzuMem& bytes, char16_t& unit) {
  if (!(bytes.GetSize() & 1)) return false;
  unit = bytes[bytes.GetSize() - 1];
  return true;
}

// Gives `out` room for a result of at most `size` bytes to be written into
// (a large buffer asks for huge pages itself). The room is not cleared: the
// converter writes what it keeps, and the pages of a worst case it does not
// reach are never touched. Without it the conversion cannot be made, and a
// buffer left as it was would pass for converted: running out of memory is
// thrown, as the standard containers do.
void PrepareOutput(CQzuMem& out, size_t size) {
  if (!out.Reserve(size) || !out.SetSizeForOverwrite(size)) throw std::bad_alloc();
}

// Encodes UTF-16LE bytes with `encode(units, count, dst)` into a new buffer
// of at most `maxPerUnit` bytes per unit, then replaces `bytes` with it.
template <typename Encoder>
void EncodeUnits(CQzuMem& bytes, size_t maxPerUnit, Encoder encode) {
  const std::u16string_view units = WholeUnitsOf(bytes);
  char16_t tail = 0;
  const bool hasTail = OddTailUnit(bytes, tail);
  CQzuMem out;
  PrepareOutput(out, (units.size() + 1) * maxPerUnit);
  char* dst = reinterpret_cast<char*>(out.GetData());
  size_t n = encode(units, dst);
  if (hasTail) n += encode(std::u16string_view(&tail, 1), dst + n);
  out.SetSize(n);
  bytes = std::move(out);
}

}  // namespace

namespace {

// Decodes `bytes` into `dst` piece by piece with `decode(piece, dst)`, each
// piece ending where `prefix(window)` says the decoding no longer depends on
// what follows, and gives the memory of what is decoded back as it goes: a
// large input and its result are never both held whole. Returns the units
// written.
template <typename Prefix, typename Decoder>
size_t DecodeReleasingInput(CQzuMem& bytes, char16_t* dst, Prefix prefix, Decoder decode) {
  constexpr size_t kPieceBytes = size_t{1} << 20;
  std::string_view rest = bytes.View();
  size_t written = 0, consumed = 0, released = 0;
  while (!rest.empty()) {
    size_t n = 0;
    for (size_t window = kPieceBytes; n == 0 && window < rest.size(); window *= 2) n = prefix(rest.substr(0, window));
    if (n == 0) n = rest.size();
    written += decode(rest.substr(0, n), dst + written);
    rest.remove_prefix(n);
    consumed += n;
    released = bytes.ReleasePages(released, consumed);
  }
  return written;
}

// The longest start of UTF-8 `bytes` that ends before an ASCII byte: every
// sequence in it ends there, whatever follows.
size_t Utf8IndependentPrefix(std::string_view bytes) {
  for (size_t i = bytes.size(); i-- > 1;)
    if (static_cast<unsigned char>(bytes[i]) < 0x80) return i;
  return 0;
}

}  // namespace

void AnsiToUtf16(CQzuMem& bytes) {
  const auto codec = qzu::SystemCodePageCodec();
  if (const size_t maxUnits = codec->MaxUnits(bytes.GetSize())) {
    CQzuMem out;
    PrepareOutput(out, maxUnits * 2);
    const size_t n = DecodeReleasingInput(
        bytes, reinterpret_cast<char16_t*>(out.GetData()),
        [&codec](std::string_view window) { return codec->IndependentPrefix(window); },
        [&codec](std::string_view piece, char16_t* dst) { return codec->DecodeInto(piece, dst); });
    out.SetSize(n * 2);
    bytes = std::move(out);
    return;
  }
  std::u16string text;
  codec->Decode(bytes.View(), text);
  AssignUnits(bytes, text);
}

void Utf16ToAnsi(CQzuMem& bytes) {
  const auto codec = qzu::SystemCodePageCodec();
  if (const size_t maxPerUnit = codec->MaxBytes(1)) {
    EncodeUnits(bytes, maxPerUnit,
                [&codec](std::u16string_view units, char* dst) { return codec->EncodeInto(units, dst); });
    return;
  }
  std::string out;
  codec->Encode(UnitsOf(bytes), out);
  AssignBytes(bytes, out);
}

void Utf16ToUtf8(CQzuMem& bytes) {
  EncodeUnits(bytes, 3, [](std::u16string_view units, char* dst) {
    return qzu::Utf16ToUtf8(units.data(), units.size(), dst);
  });
}

void Utf8ToUtf16(CQzuMem& bytes) {
  CQzuMem out;
  PrepareOutput(out, bytes.GetSize() * 2);
  const size_t n = DecodeReleasingInput(
      bytes, reinterpret_cast<char16_t*>(out.GetData()), Utf8IndependentPrefix,
      [](std::string_view piece, char16_t* dst) { return qzu::Utf8ToUtf16(piece.data(), piece.size(), dst); });
  out.SetSize(n * 2);
  bytes = std::move(out);
}

void SwapUtf16ByteOrder(CQzuMem& bytes) {
  const size_t size = bytes.GetSize();
  uint8_t* p = bytes.GetData();
  const size_t pairs = size / 2;
  for (size_t i = 0; i < pairs; ++i) {
    const uint8_t low = p[2 * i];
    p[2 * i] = p[2 * i + 1];
    p[2 * i + 1] = low;
  }
  // Half a unit has no partner to swap with: it would go past the end.
  if (size & 1) p[size - 1] = 0;
}

bool AnsiDecodesStraightToUtf8(CWString& from, const CWString& to) {
  const CWString ansiName = AnsiName();
  ResolveName(from, ansiName);
  CWString target = to;
  ResolveName(target, ansiName);
  return NativeKind(from.ToUpperAscii(), ansiName) == Native::kAnsi &&
         NativeKind(target.ToUpperAscii(), ansiName) == Native::kUtf8 &&
         qzu::SystemCodePageCodec()->MaxUtf8Bytes(1) != 0;
}

bool AnsiToUtf8InPieces(std::string_view bytes, const std::function<bool(const void*, size_t)>& sink) {
  const auto codec = qzu::SystemCodePageCodec();
  if (codec->MaxUtf8Bytes(1) == 0) {
    CQzuMem units(bytes.data(), bytes.size());
    AnsiToUtf16(units);
    return EncodeUtf16InPieces(WholeUnitsOf(units), CWString(u"UTF-8"), sink);
  }
  // Each piece ends after a byte the decoding after which does not depend on
  // what came before; a piece without one grows until it holds one or
  // reaches the end.
  constexpr size_t kPieceBytes = 1 << 16;
  ScratchBuffer room;  // the thread's, reused by every file of a batch
  while (!bytes.empty()) {
    size_t n = 0;
    for (size_t window = kPieceBytes; n == 0 && window < bytes.size(); window *= 2)
      n = codec->IndependentPrefix(bytes.substr(0, window));
    if (n == 0) n = bytes.size();
    if (!room.Reserve(codec->MaxUtf8Bytes(n))) return false;
    char* out = room.Data();
    const size_t written = codec->DecodeToUtf8Into(bytes.substr(0, n), out);
    if (!sink(out, written)) return false;
    bytes.remove_prefix(n);
  }
  return true;
}
