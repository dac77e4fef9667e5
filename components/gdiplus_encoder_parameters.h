#pragma once
// rg_GPBianMaQiCanShuJi: an encoder parameter set in the GDI+ block layout:
// a count, then per parameter its GUID, the number of values, the value type
// and a pointer to the values. The values live in buffers of their own, whose
// addresses stay put while parameters are added.
#include <memory>
#include <vector>

#include "common/mem.h"
#include "common/object.h"
#include "components/gdiplus_status.h"

namespace rg_Qurix_gdiplus {

class rg_GPBianMaQiCanShuJi : public CQzuObject {
  QZU_DECLARE_CLASS(rg_GPBianMaQiCanShuJi)
 public:
  rg_GPBianMaQiCanShuJi() = default;
  // Copies carry the header words only, never the parameters.
  rg_GPBianMaQiCanShuJi(const rg_GPBianMaQiCanShuJi& other) : CQzuObject(other) {}
  rg_GPBianMaQiCanShuJi& operator=(const rg_GPBianMaQiCanShuJi& other);

  CQzuObject* Clone() const override { return new rg_GPBianMaQiCanShuJi(*this); }
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // Nothing while empty; else the count and one line per parameter.
  CWString Dump() const override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  // Appends a parameter; `values` holds `count` values of `type`.
  void AddParameter(const QzuGuid& guid, uint32_t type, uint32_t count, const void* values, size_t valueBytes);
  // The block, or null while no parameter was added.
  const void* GetParameters() const;
  int GetCount() const;

 private:
  CQzuMem m_block;
  std::vector<std::unique_ptr<CQzuMem>> m_values;
};

}  // namespace rg_Qurix_gdiplus
