#include "services/ini_settings_store.h"

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <utility>

#include "common/utf16le.h"
#include "platform/file_system_ops.h"
#include "platform/hooks.h"
#include "platform/whole_file_read.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"
#include "textlib/digest_text.h"
#include "textlib/file_backup.h"
#include "textlib/file_write.h"
#include "textlib/path_helpers.h"

namespace rg_Tavelkin_MingLingJi {

namespace {

const uint8_t kBom[2] = {0xFF, 0xFE};
const uint8_t kCrLf[4] = {0x0D, 0x00, 0x0A, 0x00};

CQzuMem Pattern(std::u16string_view a, std::u16string_view b = {}, std::u16string_view c = {}) {
  CQzuMem m;
  AppendUtf16Le(m, a);
  AppendUtf16Le(m, b);
  AppendUtf16Le(m, c);
  return m;
}

CQzuMem KeyPattern(const CWString& key) {
  CQzuMem m(kCrLf, 4);
  AppendUtf16Le(m, key.View());
  AppendUtf16Le(m, u"=");
  return m;
}

long long Search(const CQzuMem& bytes, const CQzuMem& pattern, long long start) {
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > bytes.GetSize()) start = static_cast<long long>(bytes.GetSize());
  return bytes.Find(pattern.GetData(), pattern.GetSize(), static_cast<size_t>(start));
}

CWString TextOfBytes(const CQzuMem& bytes, long long from, long long to) {
  return to > from ? TextOfUtf16Le(bytes.GetData() + from, static_cast<size_t>(to - from)) : CWString();
}

// A link someone else put at `path` stands for no file: the store neither
// reads nor keeps what it names, and its save replaces the link.
bool FileExists(const CWString& path) {
  std::string followed = path.ToSystemPath();
  struct stat st;
  return FollowOwnLinks(followed, st) == LinkedEntry::Found && S_ISREG(st.st_mode);
}

bool FolderExists(const CWString& folder) {
  if (folder.IsEmpty()) return true;  // a bare file name lives in the current folder
  struct stat st;
  return ::stat(folder.ToSystemPath().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Bytes in any detectable charset as a settings file: UTF-16LE after FF FE.
CQzuMem ConvertToSettingsBytes(const CQzuMem& raw) {
  CQzuMem bytes = raw;
  int markLength = 0;
  const CWString charset = DetectEncoding(bytes, markLength);
  ConvertCharset(bytes, charset, CWString(u"UTF-16"), markLength);
  CQzuMem out = MakeBom(CWString(u"UTF-16"), true);
  out.Append(bytes);
  return out;
}

bool StartsWithMark(const CQzuMem& bytes) {
  return bytes.GetSize() >= 2 && bytes[0] == kBom[0] && bytes[1] == kBom[1];
}

// Control characters a text file saved by an editor does not hold. TAB, the
// line breaks, VT, FF and U+001E (the store's own stand-in for CR LF inside a
// value) are text.
bool IsBinaryUnit(char16_t unit) {
  return unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r' && unit != 0x0B && unit != 0x0C &&
         unit != 0x1E;
}

// A settings file saved by hand in another charset (UTF-8 or GBK, with or
// without a mark) as the store's own bytes. The charset is detected as the
// migration detects the older file; the file reads only when it decodes
// without a loss (the text encodes back to the very same bytes) and holds no
// control character a text file lacks, so that a damaged or binary file is
// never taken for settings. Lone LF line breaks, which editors here write,
// become CR LF. False, leaving `out` alone, when the file does not read.
bool ReadHandSavedSettings(const CQzuMem& raw, CQzuMem& out) {
  int markLength = 0;
  const CWString charset = DetectEncoding(raw, markLength);
  CQzuMem units = raw;
  if (!ConvertCharset(units, charset, CWString(u"UTF-16"), markLength) || units.GetSize() % 2 != 0) return false;
  CQzuMem back = units;
  if (!ConvertCharset(back, CWString(u"UTF-16"), charset, 0)) return false;
  const size_t skipped = static_cast<size_t>(markLength);
  if (back.GetSize() != raw.GetSize() - skipped ||
      std::memcmp(back.GetData(), raw.GetData() + skipped, back.GetSize()) != 0)
    return false;
  const CWString text = TextOfUtf16Le(units);
  std::u16string withCrLf;
  withCrLf.reserve(text.GetLength() + text.GetLength() / 16);
  for (size_t i = 0; i < text.GetLength(); ++i) {
    if (IsBinaryUnit(text[i])) return false;
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) withCrLf += u'\r';
    withCrLf += text[i];
  }
  out = CQzuMem(kBom, 2);
  AppendUtf16Le(out, withCrLf);
  return true;
}

// The store's own form as an editor may save it, with lines broken by LF
// alone: each such LF becomes CR LF, as in a file saved in another charset.
void LoneLineFeedsToCrLf(CQzuMem& bytes) {
  const size_t units = bytes.GetSize() / 2;
  const uint8_t* b = bytes.GetData();
  const auto isUnit = [b](size_t i, uint8_t low) { return b[2 * i] == low && b[2 * i + 1] == 0; };
  bool lone = false;
  for (size_t i = 1; i < units && !lone; ++i) lone = isUnit(i, 0x0A) && !isUnit(i - 1, 0x0D);
  if (!lone) return;
  // Short of memory, the bytes stay as they were read.
  CQzuMem out;
  bool ok = out.Reserve(bytes.GetSize() + bytes.GetSize() / 8) && out.Append(b, 2);  // the mark
  for (size_t i = 1; i < units && ok; ++i) {
    if (isUnit(i, 0x0A) && !isUnit(i - 1, 0x0D)) ok = out.Append(kCrLf, 2);
    ok = ok && out.Append(b + 2 * i, 2);
  }
  if (ok && bytes.GetSize() % 2 != 0) ok = out.Append(b + bytes.GetSize() - 1, 1);
  if (ok) bytes = std::move(out);
}

}  // namespace

CWString& ApplicationTitle() {
  static CWString title;
  return title;
}

QZU_IMPLEMENT_CLASS(rg_TavelkinPeiZhiJiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei")

rg_TavelkinPeiZhiJiLei::rg_TavelkinPeiZhiJiLei()
    : HeaderStartPattern(Pattern(u"\r\n[")), HeaderEndPattern(Pattern(u"]")), LineBreakPattern(kCrLf, 4) {}

rg_TavelkinPeiZhiJiLei::rg_TavelkinPeiZhiJiLei(const rg_TavelkinPeiZhiJiLei& other)
    : CQzuObject(other), FileObject(other.FileObject), Lock(other.Lock) {
  CopyMembers(other);
}

rg_TavelkinPeiZhiJiLei& rg_TavelkinPeiZhiJiLei::operator=(const rg_TavelkinPeiZhiJiLei& other) {
  if (this != &other) {
    CQzuObject::operator=(other);
    FileObject = other.FileObject;
    Lock = other.Lock;
    CopyMembers(other);
  }
  return *this;
}

rg_TavelkinPeiZhiJiLei::~rg_TavelkinPeiZhiJiLei() { ReleaseSettingsBuffer(); }

void rg_TavelkinPeiZhiJiLei::CopyMembers(const rg_TavelkinPeiZhiJiLei& s) {
  IniBytes = s.IniBytes;
  FilePath = s.FilePath;
  CachedSection = s.CachedSection;
  CachedHeaderPos = s.CachedHeaderPos;
  CachedHeaderEnd = s.CachedHeaderEnd;
  CacheHit = s.CacheHit;
  BomLength = s.BomLength;
  SavedDigest = s.SavedDigest;
  m_keepFileBeforeReplacing = s.m_keepFileBeforeReplacing;
  HeaderStartPattern = s.HeaderStartPattern;
  HeaderEndPattern = s.HeaderEndPattern;
  LineBreakPattern = s.LineBreakPattern;
}

void rg_TavelkinPeiZhiJiLei::ForgetSection() {
  CachedSection.Empty();
  CachedHeaderPos = -1;
  CachedHeaderEnd = -1;
}

void rg_TavelkinPeiZhiJiLei::ReleaseSettingsBuffer() {
  FileObject.Close();
  IniBytes.Free();
  ForgetSection();
}

bool rg_TavelkinPeiZhiJiLei::WriteWholeFile(const CWString& path, const CQzuMem& bytes) {
  return WriteFileBytes(path, bytes) == 1;
}

int rg_TavelkinPeiZhiJiLei::LoadIni(const CWString& path, int mode) {
  ReleaseSettingsBuffer();
  FilePath = path;
  m_keepFileBeforeReplacing = false;
  bool migrationWritten = true;
  if (mode == kIniMigrateOlderFile && !FileExists(path)) {
    const CWString oldPath = AppendTrailingBackslash(GetProgramFolder()) + ApplicationTitle() + u".ini";
    CQzuMem old;
    if (FileExists(oldPath) && ReadWholeFile(oldPath, old)) {
      // The migrated content is what the store holds from now on, so that a
      // later save cannot replace the migrated file with an empty store.
      IniBytes = ConvertToSettingsBytes(old);
      migrationWritten = WriteWholeFile(path, IniBytes);
    }
  } else {
    const bool read = ReadWholeFile(path, IniBytes);
    if (read && StartsWithMark(IniBytes)) LoneLineFeedsToCrLf(IniBytes);
    if (mode == kIniConvertToUtf16 && !IniBytes.IsEmpty()) {
      IniBytes = ConvertToSettingsBytes(IniBytes);
    } else if (mode == kIniMigrateOlderFile && FileExists(path) && (!read || !StartsWithMark(IniBytes))) {
      // A file saved by hand in another charset is read as text. One that
      // does not read starts the store empty and is kept beside the new file
      // before the first save replaces it.
      CQzuMem own;
      if (read && (IniBytes.IsEmpty() || ReadHandSavedSettings(IniBytes, own))) {
        IniBytes = std::move(own);
      } else {
        IniBytes.Free();
        m_keepFileBeforeReplacing = true;
      }
    }
  }
  if (IniBytes.IsEmpty()) IniBytes.Append(kBom, 2);
  BomLength = (IniBytes.GetSize() >= 2 && IniBytes[0] == 0xFF && IniBytes[1] == 0xFE) ? 2 : 0;
  // A migration that could not be written is written again by the next save.
  SavedDigest = migrationWritten ? Sha1Text(IniBytes, false) : CWString();
  return 1;
}

bool rg_TavelkinPeiZhiJiLei::IsLineStart(long long pos) const {
  // The first line starts right behind the mark; any other follows a CR LF.
  if (pos < BomLength + 4) return pos == BomLength;
  return std::memcmp(IniBytes.GetData() + pos - 4, kCrLf, 4) == 0;
}

bool rg_TavelkinPeiZhiJiLei::LocateSection(const CWString& section, long long start) {
  // An empty section name never uses the cache: no caller means one, and it
  // must not act on positions left from another section.
  if (!section.IsEmpty() && CachedSection == section && CachedHeaderPos != -1 && CachedHeaderEnd != -1) {
    CacheHit = 1;
    return true;
  }
  const CQzuMem pattern = Pattern(u"[", section.View(), u"]");
  for (;;) {
    const long long at = Search(IniBytes, pattern, start);
    CachedSection = section;
    CachedHeaderPos = static_cast<int32_t>(at);
    CachedHeaderEnd = -1;
    CacheHit = 0;
    if (at < 0) return false;
    if (!IsLineStart(at)) {  // a bracketed name inside a value
      start = at + 1;
      continue;
    }
    CachedHeaderEnd = static_cast<int32_t>(at + 2 * static_cast<long long>(section.GetLength()) + 3);
    return true;
  }
}

long long rg_TavelkinPeiZhiJiLei::FindNextIniSection(long long start, long long limit) const {
  if (start == -1) return -1;
  for (;;) {
    const long long i = Search(IniBytes, HeaderStartPattern, start);
    if (i < 0 || i >= limit) return -1;
    const long long a = i + 4;
    const long long g = Search(IniBytes, HeaderEndPattern, a);
    if (g > limit) return -1;
    if (g >= 0) {
      const long long crlf = Search(IniBytes, LineBreakPattern, a);
      if (crlf < 0 || crlf + 3 > g) return a;
    }
    start = a;
  }
}

long long rg_TavelkinPeiZhiJiLei::LocateKey(const CWString& key) const {
  const long long e = CachedHeaderEnd;
  const long long p = Search(IniBytes, KeyPattern(key), e);
  if (p < 0) return -1;
  if (FindNextIniSection(e + 1, p + 3) != -1) return -1;  // the match lies in a later section
  return p;
}

long long rg_TavelkinPeiZhiJiLei::LineEnd(long long from) const {
  const long long end = Search(IniBytes, LineBreakPattern, from);
  return end < 0 ? static_cast<long long>(IniBytes.GetSize()) : end;
}

CWString rg_TavelkinPeiZhiJiLei::ReadIniValue(const CWString& section, const CWString& key,
                                              const CWString& defaultText) {
  if (!LocateSection(section, 0)) return defaultText;
  const long long p = LocateKey(key);
  if (p < 0) return defaultText;
  const long long v = p + 4 + 2 * static_cast<long long>(key.GetLength()) + 2;
  return TextOfBytes(IniBytes, v, LineEnd(v));
}

int rg_TavelkinPeiZhiJiLei::WriteIniValue(const CWString& section, const CWString& key, const CWString& value) {
  rg_Ombrine_base::rg_HuChiSuoLei::Guard guard(Lock);
  int attempts = 0;
  long long start = 0;
  for (;;) {
    if (!LocateSection(section, start)) {
      start = static_cast<long long>(IniBytes.GetSize());
      if (IniBytes.GetSize() > static_cast<size_t>(BomLength)) IniBytes.Append(kCrLf, 4);
      IniBytes.Append(Pattern(u"[", section.View(), u"]"));
      if (++attempts > 5) {
        ShowMessageBox(CWString(u"创建配置节出现意外！\r\n\r\n") + section, CWString(u"信息:"), kMbIconInformation);
        return -1;
      }
      continue;
    }
    const long long p = LocateKey(key);
    if (p >= 0) {
      const long long v = p + 4 + 2 * static_cast<long long>(key.GetLength()) + 2;
      const long long end = LineEnd(v);
      CQzuMem units;
      AppendUtf16Le(units, value.View());
      IniBytes.Remove(static_cast<size_t>(v), static_cast<size_t>(end - v));
      IniBytes.Insert(static_cast<size_t>(v), units.GetData(), units.GetSize());
      return 0;
    }
    long long at = Search(IniBytes, HeaderStartPattern, CachedHeaderEnd);
    if (at < 0) at = static_cast<long long>(IniBytes.GetSize());
    const CQzuMem line = KeyPattern(key);
    IniBytes.Insert(static_cast<size_t>(at), line.GetData(), line.GetSize());
  }
}

bool rg_TavelkinPeiZhiJiLei::SaveIniIfChanged(const CWString& path) {
  const CWString digest = Sha1Text(IniBytes, false);
  if (digest == SavedDigest) return true;
  const CWString target = path.IsEmpty() ? FilePath : path;
  if (target.IsEmpty()) return false;
  if (!FolderExists(PathFolder(target))) return false;
  if (m_keepFileBeforeReplacing && target == FilePath && FileExists(target)) {
    // Nothing of a file the store could not read is lost: it stays as
    // "name.bak" (or the first free numbered name) beside the new file, and
    // a file that cannot be kept is not replaced.
    if (KeepCopyOf(target, target + u".bak", true).IsEmpty()) return false;
    m_keepFileBeforeReplacing = false;
  }
  // The digest is remembered only once the file is complete, so a failed
  // write is tried again by the next save.
  if (!WriteWholeFile(target, IniBytes)) return false;
  SavedDigest = digest;
  return true;
}

int rg_TavelkinPeiZhiJiLei::ListSection(CMStringArray& keys, const CWString& keyFilter,
                                        const CWString& keyExclusion, const CWString& section,
                                        const CWString& headerFilter, const CWString& headerExclusion) {
  PumpPendingMessages();
  keys.Empty();
  const long long size = static_cast<long long>(IniBytes.GetSize());
  bool listing = false;
  for (long long pos = BomLength; pos < size - 1;) {
    const long long end = LineEnd(pos);
    const CWString line = TextOfBytes(IniBytes, pos, end);
    pos = end + 4;
    if (!line.IsEmpty() && line[0] == u'[' && line[line.GetLength() - 1] == u']') {
      listing = (headerFilter.IsEmpty() || line.Contains(headerFilter)) &&
                (headerExclusion.IsEmpty() || !line.Contains(headerExclusion)) &&
                (section.IsEmpty() || line.Mid(1, line.Length() - 2) == section);
      continue;
    }
    if (!listing) continue;
    const int eq = line.Find(u'=');
    if (eq < 0) continue;
    const CWString key = line.Left(eq);
    if (!keyFilter.IsEmpty() && !key.Contains(keyFilter)) continue;
    if (!keyExclusion.IsEmpty() && key.Contains(keyExclusion)) continue;
    keys.Add(key.Trimmed());
  }
  return keys.GetCount();
}

int rg_TavelkinPeiZhiJiLei::DeleteKey(const CWString& section, const CWString& key) {
  rg_Ombrine_base::rg_HuChiSuoLei::Guard guard(Lock);
  const CQzuMem pattern = Pattern(u"[", section.View(), u"]");
  long long m = Search(IniBytes, pattern, 0);
  while (m >= 0 && !IsLineStart(m)) m = Search(IniBytes, pattern, m + 4);
  if (m < 0) return 1;
  const long long size = static_cast<long long>(IniBytes.GetSize());
  const long long next = FindNextIniSection(m + 4, size - 1);  // "[" of the next header
  if (key.IsEmpty()) {
    const long long from = m >= BomLength + 4 ? m - 4 : m;
    const long long to = next >= 0 ? next - 4 : size;
    IniBytes.Remove(static_cast<size_t>(from), static_cast<size_t>(to - from));
  } else {
    const long long p = Search(IniBytes, KeyPattern(key), m);
    if (p < 0 || (next >= 0 && p >= next - 4)) return 2;
    const long long end = LineEnd(p + 4);
    IniBytes.Remove(static_cast<size_t>(p), static_cast<size_t>(end - p));
  }
  // Bytes moved: the cached header position may no longer be right.
  ForgetSection();
  return 0;
}

bool rg_TavelkinPeiZhiJiLei::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinPeiZhiJiLei&>(other);
  return Lock.SharesWith(o.Lock) && FileObject.IsEqual(o.FileObject) && IniBytes == o.IniBytes && FilePath == o.FilePath &&
         CachedSection == o.CachedSection && CachedHeaderPos == o.CachedHeaderPos &&
         CachedHeaderEnd == o.CachedHeaderEnd && CacheHit == o.CacheHit && BomLength == o.BomLength &&
         SavedDigest == o.SavedDigest;
}

int rg_TavelkinPeiZhiJiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinPeiZhiJiLei, source)
  Lock = src.Lock;
  FileObject = src.FileObject;
  CopyMembers(src);
  return 1;
}

void rg_TavelkinPeiZhiJiLei::Clear() {
  ReleaseSettingsBuffer();
  m_keepFileBeforeReplacing = false;
  FilePath.Empty();
  CachedHeaderPos = CachedHeaderEnd = CacheHit = BomLength = 0;
  SavedDigest.Empty();
}

void rg_TavelkinPeiZhiJiLei::SaveToStream(CQzuStream& s) const {
  s.WriteMem(IniBytes);
  FileObject.SaveToStream(s);
  s.WriteText(FilePath);
  s.WriteText(CachedSection);
  s.WriteInt32(CachedHeaderPos);
  s.WriteInt32(CachedHeaderEnd);
  s.WriteInt32(CacheHit);
  s.WriteInt32(BomLength);
  s.WriteText(SavedDigest);
  s.WriteMem(HeaderStartPattern);
  s.WriteMem(HeaderEndPattern);
  s.WriteMem(LineBreakPattern);
}

void rg_TavelkinPeiZhiJiLei::LoadFromStream(CQzuStream& s) {
  s.ReadMem(IniBytes);
  FileObject.LoadFromStream(s);
  s.ReadText(FilePath);
  s.ReadText(CachedSection);
  s.ReadInt32(CachedHeaderPos);
  s.ReadInt32(CachedHeaderEnd);
  s.ReadInt32(CacheHit);
  s.ReadInt32(BomLength);
  s.ReadText(SavedDigest);
  s.ReadMem(HeaderStartPattern);
  s.ReadMem(HeaderEndPattern);
  s.ReadMem(LineBreakPattern);
}

}  // namespace rg_Tavelkin_MingLingJi
