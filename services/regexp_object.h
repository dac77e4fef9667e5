#pragma once
// The regular expression object: holds one case-insensitive, multi-line,
// global expression made by CreateRegExp. Copies share the held expression.
#include "services/com_object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinZhengZeBiaoDaShiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinZhengZeBiaoDaShiLei)
 public:
  rg_TavelkinZhengZeBiaoDaShiLei() = default;
  rg_TavelkinZhengZeBiaoDaShiLei(const rg_TavelkinZhengZeBiaoDaShiLei& other);
  rg_TavelkinZhengZeBiaoDaShiLei& operator=(const rg_TavelkinZhengZeBiaoDaShiLei& other);
  ~rg_TavelkinZhengZeBiaoDaShiLei() override;

  // Equal only to itself: the held expression has no value comparison.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Makes a new expression set to ignore case, multi-line and global with
  // `pattern`; 1 when it was made, else 0 (also kept in `created`). When no
  // expression can be made, the settings go to the one held before, if any.
  int CreateRegExp(const CWString& pattern);

  CQzuComObject expressionObject;
  CQzuComObject secondObject;  // carried along; nothing fills it
  int32_t created = 0;
};

}  // namespace rg_Tavelkin_MingLingJi
