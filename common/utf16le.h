#pragma once
// Texts as UTF-16LE bytes and back: the form of settings files, side files
// and the byte functions. Texts hold UTF-16 in the machine's order, which is
// little-endian here, so both directions are plain copies.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "common/mem.h"
#include "common/wstring.h"

static_assert(std::endian::native == std::endian::little, "UTF-16LE is copied as it is held");

// Appends the text's code units, without a terminating zero.
inline void AppendUtf16Le(CQzuMem& out, std::u16string_view text) { out.Append(text.data(), text.size() * 2); }

inline CQzuMem Utf16LeBytesOf(std::u16string_view text) { return CQzuMem(text.data(), text.size() * 2); }

// `size` bytes read as UTF-16LE; an odd trailing byte is dropped.
inline CWString TextOfUtf16Le(const void* data, size_t size) {
  // Aligned units are copied in one go; a match at an odd byte offset (the
  // settings store searches bytes) is copied through a zeroed buffer.
  if (reinterpret_cast<uintptr_t>(data) % alignof(char16_t) == 0)
    return CWString(static_cast<const char16_t*>(data), size / 2);
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  return CWString(std::move(units));
}
inline CWString TextOfUtf16Le(const CQzuMem& bytes) { return TextOfUtf16Le(bytes.GetData(), bytes.GetSize()); }

// The same for a buffer that is done with once read: a large one gives its
// memory back as it is copied, so the text and the buffer are never both
// held whole, and ends empty.
inline CWString TakeTextOfUtf16Le(CQzuMem& bytes) {
  constexpr size_t kPieceBytes = size_t{1} << 20;
  const size_t units = bytes.GetSize() / 2;
  std::u16string text;
  text.reserve(units);
  const auto* data = reinterpret_cast<const char16_t*>(bytes.GetData());  // malloc'd: aligned for units
  size_t released = 0;
  for (size_t done = 0; done < units;) {
    const size_t n = std::min(units - done, kPieceBytes / 2);
    text.append(data + done, n);
    done += n;
    released = bytes.ReleasePages(released, done * 2);
  }
  bytes.Empty();
  return CWString(std::move(text));
}
