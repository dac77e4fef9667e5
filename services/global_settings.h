#pragma once
// The program's one settings object, GlobalSettings(), of class
// rg_TavelkinMFCZuJianPeiZhiLei: the typed settings store plus what binding
// controls to settings needs (the key each unnamed control was first bound
// under, and whether binds save or restore). The bind operations themselves
// live with the controls. The section listing and key deletion used by the
// folder tree's favourites always work on this object.
#include <map>

#include "services/typed_settings.h"
#include "textlib/library_maps.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinMFCZuJianPeiZhiLei : public rg_TavelkinPeiZhiLei {
  QZU_DECLARE_CLASS(rg_TavelkinMFCZuJianPeiZhiLei)
 public:
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Control object address -> the key made at its first unnamed bind.
  rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_BianZhengShuDaoWenBenXingHaXiBiao ControlKeys;
  // Non-zero: binds save into the settings; 0: they restore from them.
  static constexpr int32_t kRestoreControls = 0;
  static constexpr int32_t kSaveControls = 1;
  int32_t SaveMode = kRestoreControls;

  // A long value restored into a code edit box: the whole stored text and
  // what the box showed of it (an editor holds a text only up to its first
  // NUL). While the box still shows that, the user has not changed it and
  // the whole text is what gets saved. Keyed by section + "]" + key.
  struct ShownLongValue {
    CWString whole;
    CWString shown;
  };
  std::map<CWString, ShownLongValue> ShownLongValues;
};

// The global settings object, constructed on first use (thread-safely).
rg_TavelkinMFCZuJianPeiZhiLei& GlobalSettings();

// Lists into `keys` the keys (text before the first "=", trimmed of units 0
// to 32) of the sections whose header contains `headerFilter`, lacks
// `headerExclusion` and names `section` (each test skipped when empty), for
// keys containing `keyFilter` and lacking `keyExclusion`. Pumps pending
// messages once first. Returns the number of keys.
int ListIniSection(CMStringArray& keys, const CWString& keyFilter, const CWString& keyExclusion,
                   const CWString& section, const CWString& headerFilter, const CWString& headerExclusion);
// Removes the key line (or, with an empty key, the whole section) from the
// global settings in memory: 0 deleted, 1 no such section, 2 no such key.
int DeleteIniKey(const CWString& section, const CWString& key);

}  // namespace rg_Tavelkin_MingLingJi
