#pragma once
// JSON node and document records. They are plain data carried by the classes
// that embed them (the tree box holds a document): constructed, copied,
// compared, streamed and destroyed, never parsed or written as JSON.
#include "common/arrays.h"
#include "common/mem.h"
#include "services/file_object.h"

namespace rg_TavelkinJSON_package {

class rg_TavelkinJSONJieDian : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinJSONJieDian)
 public:
  rg_TavelkinJSONJieDian() = default;
  rg_TavelkinJSONJieDian(const rg_TavelkinJSONJieDian& other);
  rg_TavelkinJSONJieDian& operator=(const rg_TavelkinJSONJieDian& other);
  ~rg_TavelkinJSONJieDian() override = default;

  // Equal only to itself: the object array has no value comparison.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies the values; the object array gets clones of the source's objects.
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  int32_t firstInteger = 0;
  CWString firstText;
  CWString secondText;
  CQzuObjectArray objects;
  int32_t secondInteger = 0;
  int32_t thirdInteger = 0;
};

class rg_TavelkinJSONLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinJSONLei)
 public:
  rg_TavelkinJSONLei() = default;
  rg_TavelkinJSONLei(const rg_TavelkinJSONLei& other);
  rg_TavelkinJSONLei& operator=(const rg_TavelkinJSONLei& other);
  ~rg_TavelkinJSONLei() override = default;

  // Equal only to itself: it holds a node, which is equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // As CopyJsonDocumentFields.
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  rg_Ombrine_base::rg_ZiFuShuZuLei characters;
  CWString firstText;
  rg_TavelkinJSONJieDian rootNode;
  rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinWenJianDouXieLei fileObject;
  int64_t value64 = 0;
  int32_t firstInteger = 0;
  CQzuMem firstBuffer;
  int32_t sizeValue = 10240;
  int32_t secondInteger = 0;
  CQzuMem secondBuffer;
  int32_t thirdInteger = 0;
  CWString secondText;
  int32_t fourthInteger = 0;
};

// The member copy of a document: every member by value, the root node deeply,
// and the file object shared (one more reference to the source's handle).
void CopyJsonDocumentFields(rg_TavelkinJSONLei& target, const rg_TavelkinJSONLei& source);

}  // namespace rg_TavelkinJSON_package
