#pragma once
// Boxed values: an integer and a boolean as objects.
#include "common/object.h"

namespace rg_Ombrine_base {

class rg_ZhengShuLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_ZhengShuLei)
 public:
  rg_ZhengShuLei() = default;
  explicit rg_ZhengShuLei(int32_t v) : value(v) {}
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { value = 0; }
  CWString Dump() const override { return CWString::FromInt(value); }
  void LoadFromStream(CQzuStream& s) override { s.ReadInt32(value); }
  void SaveToStream(CQzuStream& s) const override { s.WriteInt32(value); }

  int32_t value = 0;
};

class rg_LuoJiXingLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_LuoJiXingLei)
 public:
  rg_LuoJiXingLei() = default;
  explicit rg_LuoJiXingLei(bool v) : value(v) {}
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { value = false; }
  CWString Dump() const override { return value ? CWString(u"真") : CWString(u"假"); }
  void LoadFromStream(CQzuStream& s) override;
  void SaveToStream(CQzuStream& s) const override { s.WriteInt32(value ? 1 : 0); }

  bool value = false;
};

}  // namespace rg_Ombrine_base
