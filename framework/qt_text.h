#pragma once
// CWString and QString hold the same UTF-16 units; these copy between them.
#include <QString>

#include "common/wstring.h"

inline QString ToQString(const CWString& s) { return QString::fromUtf16(s.GetBuffer(), s.Length()); }
inline CWString FromQString(const QString& s) {
  return CWString(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
