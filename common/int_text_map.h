#pragma once
// rg_ZhengShuDaoWenBenMoXuHaXiBiao: an ordered map from 32-bit integers to
// texts (the tree box's line tool-tips, the folder tree's favourite paths).
// Callers work on `entries` directly; iteration walks in ascending key order.
// Equal when the entries are equal. Stream form: the entry count, then per
// entry the key (4 bytes) and the text, in key order.
#include <cstdint>
#include <map>

#include "common/object.h"

namespace rg_Ombrine_base {

class rg_ZhengShuDaoWenBenMoXuHaXiBiao : public CQzuObject {
  QZU_DECLARE_CLASS(rg_ZhengShuDaoWenBenMoXuHaXiBiao)
 public:
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { entries.clear(); }
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // The text of a key; empty when the key is absent.
  CWString Get(int32_t key) const;

  std::map<int32_t, CWString> entries;
};

}  // namespace rg_Ombrine_base
