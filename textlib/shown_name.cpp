#include "textlib/shown_name.h"

#include "common/mem.h"
#include "common/utf.h"
#include "textlib/charset_convert.h"

namespace {

// A unit standing for one byte: a lone low surrogate of the byte range (the
// low half of a pair is a character).
bool HasByteUnit(std::u16string_view name) {
  for (size_t i = 0; i < name.size(); ++i)
    if (name[i] >= 0xDC80 && name[i] <= 0xDCFF && (i == 0 || !qzu::IsHighSurrogate(name[i - 1]))) return true;
  return false;
}

}  // namespace

CWString ShownName(const CWString& path) {
  if (!HasByteUnit(path.View())) return path;
  std::u16string shown;
  size_t start = 0;
  for (;;) {
    const size_t slash = path.View().find(u'/', start);
    const std::u16string_view name = path.View().substr(start, slash == std::u16string_view::npos ? slash : slash - start);
    if (HasByteUnit(name)) {
      const std::string bytes = CWString(name).ToSystemPath();
      CQzuMem units(bytes.data(), bytes.size());
      AnsiToUtf16(units);
      shown.append(reinterpret_cast<const char16_t*>(units.GetData()), units.GetSize() / 2);
    } else {
      shown += name;
    }
    if (slash == std::u16string_view::npos) break;
    shown += u'/';
    start = slash + 1;
  }
  return CWString(std::move(shown));
}
