#include "textlib/byte_code_forms.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>

#include "textlib/hex_digit.h"

CQzuMem& HexTextToBytes(const char16_t* text, CQzuMem& bytes) {
  if (!text) return bytes;
  return HexTextToBytes(std::u16string_view(text), bytes);
}

CQzuMem& HexTextToBytes(std::u16string_view text, CQzuMem& bytes) {
  const size_t count = text.size() / 2;
  if (count == 0) return bytes;
  const size_t start = bytes.GetSize();
  if (!bytes.SetSizeForOverwrite(start + count)) throw std::bad_alloc();  // every new byte is written below
  uint8_t* out = bytes.GetData() + start;
  for (size_t i = 0; i < count; ++i) {
    const int high = HexDigitValue(text[2 * i]);
    const int low = HexDigitValue(text[2 * i + 1]);
    out[i] = low < 0 ? 0xFF : static_cast<uint8_t>(((high < 0 ? 15 : high) << 4) | low);
  }
  return bytes;
}

CWString BytesToHexText(const uint8_t* data, size_t size) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(size * 2, u'0');
  for (size_t i = 0; i < size; ++i) {
    text[2 * i] = kDigits[data[i] >> 4];
    text[2 * i + 1] = kDigits[data[i] & 15];
  }
  return CWString(std::move(text));
}

void BytesToDecimalList(const CQzuMem& bytes, CWString& text) {
  std::u16string out;
  out.reserve(bytes.GetSize() * 4);
  for (size_t i = 0; i < bytes.GetSize(); ++i) {
    if (i) out += u',';
    const unsigned b = bytes[i];
    if (b >= 100) out += static_cast<char16_t>(u'0' + b / 100);
    if (b >= 10) out += static_cast<char16_t>(u'0' + b / 10 % 10);
    out += static_cast<char16_t>(u'0' + b % 10);
  }
  text = CWString(std::move(out));
}

void DecimalListToBytes(const CWString& text, CQzuMem& bytes) {
  const std::vector<CWString> items = text.Split(u",", true, true);
  CQzuMem out(items.size());
  if (!out.SetSizeForOverwrite(items.size())) throw std::bad_alloc();
  uint8_t* p = out.GetData();
  for (const CWString& item : items) {
    long long value = item.ToInt();
    // Saturate like a 32-bit reader instead of wrapping a long digit run.
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *p++ = static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF);
  }
  bytes = std::move(out);
}

CWString BoolToText(bool value) { return value ? CWString(u"1") : CWString(u"0"); }

CWString FormatElapsed(int64_t milliseconds) {
  // Each step divides by the size of the next unit; a unit is kept while the
  // number stays below that size. Rounding comes after the choice, so 59999 ms
  // reads "60 秒".
  static const struct {
    double limit;  // the number must stay below this to keep the unit
    double divisor;  // from the previous unit to this one
    const char16_t* unit;
  } kSteps[] = {
      {1000, 1, u" 毫秒"}, {60, 1000, u" 秒"}, {60, 60, u" 分"}, {24, 60, u" 时"},
      {30, 24, u" 天"},    {12, 30, u" 月"},   {0, 12, u" 年"},
  };
  double value = static_cast<double>(milliseconds);
  const char16_t* unit = nullptr;
  for (const auto& step : kSteps) {
    value /= step.divisor;
    unit = step.unit;
    if (step.limit == 0 || value < step.limit) break;
  }
  // Two decimals, halves away from zero; the nudge absorbs binary fractions
  // such as 1.005 * 100 = 100.49999...
  const double scaled = std::fabs(value) * 100 + 1e-6;
  double rounded = std::floor(scaled);
  if (scaled - rounded >= 0.5) rounded += 1;
  rounded /= 100;
  if (value < 0) rounded = -rounded;
  char buffer[64];
  if (std::fabs(rounded) < 1e-6)
    std::snprintf(buffer, sizeof buffer, "0");
  else
    std::snprintf(buffer, sizeof buffer, "%.15G", rounded);
  CWString text = CWString::FromUtf8(buffer);
  text += std::u16string_view(unit);
  return text;
}
