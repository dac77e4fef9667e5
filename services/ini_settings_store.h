#pragma once
// rg_TavelkinPeiZhiJiLei: one ini file held whole in memory as its raw
// UTF-16LE bytes. Values are read and written by searching those bytes for
// header and key patterns (a one-entry cache remembers the last section), and
// nothing reaches the disk until a save, which writes only when the SHA-1 of
// the bytes changed.
//
// File format: FF FE, then lines joined by CR LF (0D 00 0A 00); "[name]"
// header lines and "key=value" lines; no line break after the last line.
#include <cstdint>

#include "common/arrays.h"
#include "common/critical_section.h"
#include "common/mem.h"
#include "common/object.h"
#include "common/wstring.h"
#include "services/file_object.h"

namespace rg_Tavelkin_MingLingJi {

// The product title; the older settings file migrated once is named after it.
// Empty until the application sets it, before it loads the settings.
CWString& ApplicationTitle();

class rg_TavelkinPeiZhiJiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinPeiZhiJiLei)
 public:
  rg_TavelkinPeiZhiJiLei();
  rg_TavelkinPeiZhiJiLei(const rg_TavelkinPeiZhiJiLei& other);
  rg_TavelkinPeiZhiJiLei& operator=(const rg_TavelkinPeiZhiJiLei& other);
  ~rg_TavelkinPeiZhiJiLei() override;

  // The modes of LoadIni.
  static constexpr int kIniAsStored = 0;
  static constexpr int kIniConvertToUtf16 = 1;  // the bytes, in any charset, to UTF-16LE with a mark
  // The older settings file (named after ApplicationTitle(), in the program's
  // folder) is migrated when `path` does not exist. A file at `path` that
  // does not begin with FF FE (saved by hand in UTF-8, GBK...) is read through
  // the charset detection when it decodes cleanly as text; one that does not
  // (binary, damaged, unreadable) leaves the store empty and is kept as
  // "<name>.bak" (or "<name> (2).bak"...) by the save that replaces it.
  static constexpr int kIniMigrateOlderFile = 2;
  // Loads the file at `path` in one of the modes above. Always 1. Where the
  // file begins with FF FE, a line break of LF alone reads as CR LF.
  int LoadIni(const CWString& path, int mode);
  // The value text, or a copy of `defaultText` when the section or key is missing.
  CWString ReadIniValue(const CWString& section, const CWString& key, const CWString& defaultText);
  // 0 when written; -1 when the section header could not be established.
  int WriteIniValue(const CWString& section, const CWString& key, const CWString& value);
  // True when the content is unchanged since the last load or successful
  // save, or was written completely now. An empty path means the loaded one.
  // The file's folder must exist. False, leaving the file alone, when a file
  // the load could not read is to be replaced and cannot be kept first.
  bool SaveIniIfChanged(const CWString& path = CWString());
  // Keys of the listed sections, in file order (see the free ListIniSection).
  int ListSection(CMStringArray& keys, const CWString& keyFilter, const CWString& keyExclusion,
                  const CWString& section, const CWString& headerFilter, const CWString& headerExclusion);
  // 0 deleted, 1 section not found, 2 key not found; an empty key deletes the section.
  int DeleteKey(const CWString& section, const CWString& key);
  // Empties the content and the section cache.
  void ReleaseSettingsBuffer();
  // Byte position of the "[" of the next valid header line at or after
  // `start` whose CR LF lies before `limit`; -1 when none.
  long long FindNextIniSection(long long start, long long limit) const;

  // Object operations.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // The members, in declaration and stream order.
  CQzuMem IniBytes;
  // Shared with copies; the store reads and writes files whole and opens
  // nothing through it, but closes its handle on release.
  rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinWenJianDouXieLei FileObject;
  CWString FilePath;
  CWString CachedSection;
  int32_t CachedHeaderPos = 0;
  int32_t CachedHeaderEnd = 0;
  int32_t CacheHit = 0;
  int32_t BomLength = 0;
  CWString SavedDigest;
  CQzuMem HeaderStartPattern;  // CR LF "["
  CQzuMem HeaderEndPattern;    // "]"
  CQzuMem LineBreakPattern;    // CR LF
  rg_Ombrine_base::rg_HuChiSuoLei Lock;

 protected:
  // Writes a whole file; tests count writes through it.
  virtual bool WriteWholeFile(const CWString& path, const CQzuMem& bytes);

 private:
  bool LocateSection(const CWString& section, long long start);
  // Position P of the key's CR LF inside the located section, or -1.
  long long LocateKey(const CWString& key) const;
  long long LineEnd(long long from) const;
  bool IsLineStart(long long pos) const;
  void CopyMembers(const rg_TavelkinPeiZhiJiLei& source);
  void ForgetSection();

  // The file at FilePath could not be read as settings: the next save keeps
  // it beside before replacing it.
  bool m_keepFileBeforeReplacing = false;
};

}  // namespace rg_Tavelkin_MingLingJi
