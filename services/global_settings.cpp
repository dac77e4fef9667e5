#include "services/global_settings.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinMFCZuJianPeiZhiLei, rg_TavelkinPeiZhiLei,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinMFCZuJianPeiZhiLei")

int rg_TavelkinMFCZuJianPeiZhiLei::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(rg_TavelkinMFCZuJianPeiZhiLei::StaticClassInfo())) return 0;
  if (&source == this) return 1;
  if (!rg_TavelkinPeiZhiLei::CopyFrom(source)) return 0;
  const auto& src = static_cast<const rg_TavelkinMFCZuJianPeiZhiLei&>(source);
  ControlKeys.entries = src.ControlKeys.entries;
  SaveMode = src.SaveMode;
  ShownLongValues = src.ShownLongValues;
  return 1;
}

void rg_TavelkinMFCZuJianPeiZhiLei::SaveToStream(CQzuStream& s) const {
  rg_TavelkinPeiZhiLei::SaveToStream(s);
  ControlKeys.SaveToStream(s);
  s.WriteInt32(SaveMode);
}

void rg_TavelkinMFCZuJianPeiZhiLei::LoadFromStream(CQzuStream& s) {
  rg_TavelkinPeiZhiLei::LoadFromStream(s);
  ControlKeys.LoadFromStream(s);
  s.ReadInt32(SaveMode);
}

rg_TavelkinMFCZuJianPeiZhiLei& GlobalSettings() {
  static rg_TavelkinMFCZuJianPeiZhiLei settings;
  return settings;
}

int ListIniSection(CMStringArray& keys, const CWString& keyFilter, const CWString& keyExclusion,
                   const CWString& section, const CWString& headerFilter, const CWString& headerExclusion) {
  return GlobalSettings().ListSection(keys, keyFilter, keyExclusion, section, headerFilter, headerExclusion);
}

int DeleteIniKey(const CWString& section, const CWString& key) { return GlobalSettings().DeleteKey(section, key); }

}  // namespace rg_Tavelkin_MingLingJi
