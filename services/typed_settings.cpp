#include "services/typed_settings.h"

#include <sys/stat.h>

#include <string>

#include "common/utf16le.h"
#include "platform/file_system_ops.h"
#include "platform/whole_file_read.h"
#include "textlib/path_helpers.h"

namespace rg_Tavelkin_MingLingJi {

namespace {

const CWString kTrue(u"真");
const CWString kFalse(u"假");

CWString HashText(const CQzuMem& bytes) { return CWString::FromInt(HashByteBuffer(bytes)); }

// Whether the folder of the side files is a link someone else put beside
// the settings file: no side file is then read or written through it. (A
// side file that is such a link is refused by the read and replaced by the
// write.)
bool SideFolderIsForeignLink(const CWString& sideFile) {
  std::string folder = PathFolder(sideFile).ToSystemPath();
  struct stat st;
  return FollowOwnLinks(folder, st) == LinkedEntry::ForeignLink;
}

}  // namespace

QZU_IMPLEMENT_CLASS(rg_TavelkinPeiZhiLei, rg_TavelkinPeiZhiJiLei, "rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiLei")

CWString rg_TavelkinPeiZhiLei::ReadMultilineValue(const CWString& key, const CWString& defaultText) {
  CWString text = ReadIniValue(CurrentSection, key, defaultText);
  text.Replace(u"\x1E", u"\r\n");
  return text;
}

bool rg_TavelkinPeiZhiLei::WriteMultilineValue(const CWString& key, const CWString& text) {
  CWString stored = text;
  stored.Replace(u"\r\n", u"\x1E");
  return WriteIniValue(CurrentSection, key, stored) == 0;
}

int32_t rg_TavelkinPeiZhiLei::ReadIntValue(const CWString& key, int32_t defaultValue) {
  // As the runtime's _wtol reads it: saturating at the 32-bit limits.
  return ReadIniValue(CurrentSection, key, CWString::FromInt(defaultValue)).ToInt32();
}

bool rg_TavelkinPeiZhiLei::WriteIntValue(const CWString& key, int32_t value) {
  return WriteIniValue(CurrentSection, key, CWString::FromInt(value)) == 0;
}

bool rg_TavelkinPeiZhiLei::ReadBoolValue(const CWString& key, bool defaultValue) {
  return ReadIniValue(CurrentSection, key, defaultValue ? kTrue : kFalse) == kTrue;
}

bool rg_TavelkinPeiZhiLei::WriteBoolValue(const CWString& key, bool value) {
  return WriteIniValue(CurrentSection, key, value ? kTrue : kFalse) == 0;
}

CWString rg_TavelkinPeiZhiLei::SettingsName() const {
  const CWString stem = PathStem(FilePath);
  return stem == u"软件配置" ? CWString() : stem;
}

CWString rg_TavelkinPeiZhiLei::LongValuePath(const CWString& key) const {
  return PathFolder(FilePath) + u"/ini/" + SettingsName() + u"[" + CurrentSection + u"]" + key;
}

CWString rg_TavelkinPeiZhiLei::LoadLongValue(const CWString& key, const CWString& defaultText) {
  const CWString path = LongValuePath(key);
  const CWString cacheKey = SettingsName() + CurrentSection + key;
  CQzuMem bytes;
  const bool read = !SideFolderIsForeignLink(path) && ReadWholeFile(path, bytes);
  const CWString text = read ? TextOfUtf16Le(bytes) : defaultText;
  LongValueHashes.entries[cacheKey] = HashText(Utf16LeBytesOf(text));
  m_longValues[cacheKey] = text;
  return text;
}

bool rg_TavelkinPeiZhiLei::SaveLongValue(const CWString& key, const CWString& text) {
  const CWString cacheKey = SettingsName() + CurrentSection + key;
  const CQzuMem bytes = Utf16LeBytesOf(text);
  const CWString hash = HashText(bytes);
  auto known = m_longValues.find(cacheKey);
  if (known != m_longValues.end() && known->second == text) return true;
  // Recorded only once the file is complete: a failed write is tried again.
  const CWString path = LongValuePath(key);
  if (SideFolderIsForeignLink(path) || !WriteWholeFile(path, bytes)) return false;
  LongValueHashes.entries[cacheKey] = hash;
  m_longValues[cacheKey] = text;
  return true;
}

int rg_TavelkinPeiZhiLei::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(rg_TavelkinPeiZhiLei::StaticClassInfo())) return 0;
  if (&source == this) return 1;
  if (!rg_TavelkinPeiZhiJiLei::CopyFrom(source)) return 0;
  const auto& src = static_cast<const rg_TavelkinPeiZhiLei&>(source);
  CurrentSection = src.CurrentSection;
  LongValueHashes.entries = src.LongValueHashes.entries;
  m_longValues = src.m_longValues;
  return 1;
}

void rg_TavelkinPeiZhiLei::SaveToStream(CQzuStream& s) const {
  rg_TavelkinPeiZhiJiLei::SaveToStream(s);
  s.WriteText(CurrentSection);
  LongValueHashes.SaveToStream(s);
}

void rg_TavelkinPeiZhiLei::LoadFromStream(CQzuStream& s) {
  rg_TavelkinPeiZhiJiLei::LoadFromStream(s);
  s.ReadText(CurrentSection);
  LongValueHashes.LoadFromStream(s);
}

}  // namespace rg_Tavelkin_MingLingJi
