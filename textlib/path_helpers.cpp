#include "textlib/path_helpers.h"

namespace {

int LastSeparator(const CWString& path) { return path.ReverseFind(kPathSeparator); }

}  // namespace

CWString PathFolder(const CWString& path) {
  const int at = LastSeparator(path);
  return at < 0 ? CWString() : path.Left(at);
}

CWString PathFileName(const CWString& path) {
  const int at = LastSeparator(path);
  return at < 0 ? path : path.Mid(at + 1);
}

CWString PathStem(const CWString& path) {
  CWString name = PathFileName(path);
  const int dot = name.ReverseFind(u'.');
  return dot < 0 ? name : name.Left(dot);
}

CWString PathExtension(const CWString& path) {
  CWString name = PathFileName(path);
  const int dot = name.ReverseFind(u'.');
  return dot < 0 ? CWString() : name.Mid(dot + 1);
}

CWString StripTrailingBackslash(const CWString& path) {
  if (!path.IsEmpty() && path[path.GetLength() - 1] == kPathSeparator) return path.Left(path.Length() - 1);
  return path;
}

CWString AppendTrailingBackslash(const CWString& path) {
  if (!path.IsEmpty() && path[path.GetLength() - 1] == kPathSeparator) return path;
  CWString out = path;
  out += kPathSeparator;
  return out;
}
