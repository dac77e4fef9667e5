#pragma once
// The URL redirect object: makes one request instance when constructed and
// holds it until it is destroyed. Copies share the request.
#include "services/com_object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinWangZhiChongDingXiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWangZhiChongDingXiangLei)
 public:
  // Makes the request instance; when that fails the holder stays empty.
  rg_TavelkinWangZhiChongDingXiangLei();
  rg_TavelkinWangZhiChongDingXiangLei(const rg_TavelkinWangZhiChongDingXiangLei& other);
  rg_TavelkinWangZhiChongDingXiangLei& operator=(const rg_TavelkinWangZhiChongDingXiangLei& other);
  ~rg_TavelkinWangZhiChongDingXiangLei() override = default;

  // Equal only to itself: the held request has no value comparison.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  CQzuComObject requestObject;
};

}  // namespace rg_Tavelkin_MingLingJi
