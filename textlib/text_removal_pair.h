#pragma once
// rg_TavelkinWenBenQuChanZiLei: a small value pair of the library, a character
// array and a 32-bit integer, with the common object operations. Stream form:
// the array, then the integer. The array member has no value comparison, so
// an object is equal only to itself.
#include <cstdint>

#include "common/arrays.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinWenBenQuChanZiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWenBenQuChanZiLei)
 public:
  bool IsEqual(const CQzuObject& other) const override { return &other == this; }
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& s) override;
  void SaveToStream(CQzuStream& s) const override;

  rg_Ombrine_base::rg_ZiFuShuZuLei characters;
  int32_t number = 0;
};

}  // namespace rg_Tavelkin_MingLingJi
