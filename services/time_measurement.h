#pragma once
// Time measurement: milliseconds elapsed since a tick stamp, as a Chinese text
// such as the batch summary's duration line. An object measures from its
// construction and from every restart; asking for the elapsed text restarts it.
#include <cstdint>

#include "common/object.h"
#include "framework/edit_box.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinShiJianCeLiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinShiJianCeLiangLei)
 public:
  // Takes the stamp from the tick counter.
  rg_TavelkinShiJianCeLiangLei();
  rg_TavelkinShiJianCeLiangLei(const rg_TavelkinShiJianCeLiangLei& other);
  rg_TavelkinShiJianCeLiangLei& operator=(const rg_TavelkinShiJianCeLiangLei& other);
  ~rg_TavelkinShiJianCeLiangLei() override = default;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies the edit box as controls copy and the stamp as it is.
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // stamp := the tick count now.
  void RestartTimeMeasurement();
  // prefix + "用时 " + the formatted milliseconds since the stamp; restarts.
  CWString ElapsedText(const CWString& prefix);

  // Carried along with the object; nothing here shows or reads it.
  rg_Ombrine_MFCJieMian_base::rg_edit_box editBox;
  // The 32-bit tick count of the last (re)start, zero-extended.
  int64_t stamp = 0;
};

// Where the tick count comes from: GetTickCount unless a test puts in its own
// clock; null goes back to GetTickCount.
using TimeMeasurementTickSource = uint32_t (*)();
void SetTimeMeasurementTickSource(TimeMeasurementTickSource source);

}  // namespace rg_Tavelkin_MingLingJi
