#pragma once
// rg_TavelkinPeiZhiLei: the settings store with a current section and typed
// values on top of the raw one-line texts: integers ("%d"), booleans ("真" /
// "假"), multi-line texts (each CR LF stored as U+001E) and long values, which
// live in side files in the folder "ini" beside the settings file and are
// written only when their content changed.
#include <map>

#include "services/ini_settings_store.h"
#include "services/text_to_text_map.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinPeiZhiLei : public rg_TavelkinPeiZhiJiLei {
  QZU_DECLARE_CLASS(rg_TavelkinPeiZhiLei)
 public:
  CWString ReadMultilineValue(const CWString& key, const CWString& defaultText);
  bool WriteMultilineValue(const CWString& key, const CWString& text);
  int32_t ReadIntValue(const CWString& key, int32_t defaultValue);
  bool WriteIntValue(const CWString& key, int32_t value);
  bool ReadBoolValue(const CWString& key, bool defaultValue);
  bool WriteBoolValue(const CWString& key, bool value);
  // The side file's text; the default when the side file is missing.
  CWString LoadLongValue(const CWString& key, const CWString& defaultText);
  // True when the text equals what was last loaded or saved for the key
  // (nothing written) or when the side file was written completely.
  bool SaveLongValue(const CWString& key, const CWString& text);
  // The side file of a long value of the current section.
  CWString LongValuePath(const CWString& key) const;

  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  CWString CurrentSection;
  // Settings name + section + key -> decimal text of the content's buffer hash.
  rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_WenBenDaoWenBenHaXiBiao LongValueHashes;

 private:
  CWString SettingsName() const;
  // The content behind each hash: two texts with one hash are still told apart.
  std::map<CWString, CWString> m_longValues;
};

}  // namespace rg_Tavelkin_MingLingJi
