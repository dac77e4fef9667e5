#pragma once
// Two parallel integer arrays (keys and values) sorted together by key, and
// the normalisation of text ranges (start, length) into sorted, disjoint
// ranges that the html tag filter rebuilds its text from.
#include <cstdint>

#include "common/arrays.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinPaiXuShuangZhengShuZuLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinPaiXuShuangZhengShuZuLei)
 public:
  rg_TavelkinPaiXuShuangZhengShuZuLei() = default;

  // Sorts the caller's two arrays together by key, ascending; equal keys keep
  // their input order. Arrays of different sizes are left as they are.
  void SortPairsByKey(rg_Ombrine_base::rg_ZhengShuShuZuLei& keys, rg_Ombrine_base::rg_ZhengShuShuZuLei& values);
  // Binary insertion of one pair into the own arrays, which hold lastIndex + 1
  // pairs already in order.
  void InsertPairSorted(int32_t lastIndex, int32_t key, int32_t value);

  // Only this very instance is equal to itself.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // The arrays InsertPairSorted fills; the sort works beside them and leaves
  // them as they are.
  rg_Ombrine_base::rg_ZhengShuShuZuLei keyArray;
  rg_Ombrine_base::rg_ZhengShuShuZuLei valueArray;
  int32_t orderFlag = 0;  // 1 = ascending
};

}  // namespace rg_Tavelkin_MingLingJi

// Replaces the ranges by sorted, disjoint ranges covering the same indices;
// ranges that overlap or touch (one starts where another ends) become one.
void SortRangePairs(rg_Ombrine_base::rg_ZhengShuShuZuLei& starts, rg_Ombrine_base::rg_ZhengShuShuZuLei& lengths);
