#include "textlib/text_trim.h"

#include <algorithm>

bool IsTrimBlank(char16_t c) { return c <= 0x20 || c == 0x00A0 || c == 0x3000; }

void TrimBlanks(CWString& text, int mode) {
  std::u16string& s = text.Str();
  switch (mode) {
    case kTrimBothEnds:
    case kTrimStart:
    case kTrimEnd: {
      size_t begin = 0, end = s.size();
      if (mode != kTrimEnd)
        while (begin < end && IsTrimBlank(s[begin])) ++begin;
      if (mode != kTrimStart)
        while (end > begin && IsTrimBlank(s[end - 1])) --end;
      s.erase(end);
      s.erase(0, begin);
      break;
    }
    case kTrimEverywhere:
      std::erase_if(s, IsTrimBlank);
      break;
    default:
      break;
  }
}

char16_t FirstChar(const CWString& text) { return text.IsEmpty() ? u' ' : text[0]; }

CWString MakeRecordSeparator() { return CWString(std::u16string(1, u'\x1E')); }
