#include "foldertree/tree_row_format.h"

#include <cstring>

#include "common/utf16le.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

uint8_t ToggledExpandByte(uint8_t b) { return b < 4 ? static_cast<uint8_t>(b ^ 2) : b; }

uint8_t ExpandedByte(uint8_t b) { return b < 4 ? static_cast<uint8_t>(b | 2) : 2; }

uint8_t CollapsedByte(uint8_t b) { return b < 4 ? static_cast<uint8_t>(b & 1) : 0; }

uint8_t CycledCheckByte(uint8_t b, int checkMode) {
  if (b == kFixedCheckByte) return b;
  const int limit = checkMode == kTwoStateCheckMode ? 1 : 2;
  // The step is taken on a signed byte: 127 + 1 becomes -128, which does not
  // exceed the limit and is stored as 128.
  const int next = static_cast<int8_t>(static_cast<uint8_t>(b + 1));
  return next > limit ? 0 : static_cast<uint8_t>(next);
}

std::u16string_view StoredRowText(const CWString& text) {
  const std::u16string_view units = text.View();
  return units.substr(0, units.find(u'\0'));
}

namespace {

void AppendInt32(CQzuMem& out, int32_t value) {
  uint8_t bytes[4];
  std::memcpy(bytes, &value, 4);  // little-endian here (common/utf16le.h asserts it)
  out.Append(bytes, 4);
}

}  // namespace

void AppendRowRecordBytes(CQzuMem& out, const CWString& text, const TreeRowFields& fields, const CQzuMem& marker,
                          int headerSize) {
  AppendUtf16Le(out, StoredRowText(text));
  out.Append(marker);
  const size_t headerStart = out.GetSize();
  AppendInt32(out, fields.level);
  AppendInt32(out, fields.icon);
  AppendInt32(out, fields.selectedIcon);
  AppendInt32(out, fields.userValue);
  out.AppendByte(fields.expand);
  out.AppendByte(fields.check);
  if (headerSize >= kRowBackColourField + 4) {
    AppendInt32(out, -1);
    AppendInt32(out, -1);
  }
  // A header size that is neither 18 nor 26 (a loaded tree box) still gets
  // exactly its size.
  out.SetSize(headerStart + static_cast<size_t>(headerSize));
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
