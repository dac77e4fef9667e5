#include "services/regexp_object.h"

#include "services/regexp_instance.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinZhengZeBiaoDaShiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinZhengZeBiaoDaShiLei")

rg_TavelkinZhengZeBiaoDaShiLei::rg_TavelkinZhengZeBiaoDaShiLei(const rg_TavelkinZhengZeBiaoDaShiLei& other)
    : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinZhengZeBiaoDaShiLei& rg_TavelkinZhengZeBiaoDaShiLei::operator=(const rg_TavelkinZhengZeBiaoDaShiLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinZhengZeBiaoDaShiLei::~rg_TavelkinZhengZeBiaoDaShiLei() {
  // The second holder goes first, then the expression.
  secondObject.ReleaseInstance();
  expressionObject.ReleaseInstance();
}

bool rg_TavelkinZhengZeBiaoDaShiLei::IsEqual(const CQzuObject& other) const {
  return &other == this && SameHeader(other);
}

int rg_TavelkinZhengZeBiaoDaShiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinZhengZeBiaoDaShiLei, source)
  expressionObject.CopyFrom(src.expressionObject);
  secondObject.CopyFrom(src.secondObject);
  created = src.created;
  return 1;
}

void rg_TavelkinZhengZeBiaoDaShiLei::Clear() {
  secondObject.Clear();
  expressionObject.Clear();
  created = 0;
}

void rg_TavelkinZhengZeBiaoDaShiLei::LoadFromStream(CQzuStream& stream) {
  expressionObject.LoadFromStream(stream);
  secondObject.LoadFromStream(stream);
  int32_t value;
  if (stream.ReadInt32(value)) created = value;
}

void rg_TavelkinZhengZeBiaoDaShiLei::SaveToStream(CQzuStream& stream) const {
  expressionObject.SaveToStream(stream);
  secondObject.SaveToStream(stream);
  stream.WriteInt32(created);
}

int rg_TavelkinZhengZeBiaoDaShiLei::CreateRegExp(const CWString& pattern) {
  const int made = CreateComObject(expressionObject, u"VBScript.RegExp", CWString());
  // The settings go to whatever the holder now holds; with nothing held (or
  // something that is no expression) they fail quietly.
  if (CQzuRegExpInstance* expression = expressionObject.As<CQzuRegExpInstance>()) {
    expression->SetIgnoreCase(true);
    expression->SetMultiline(true);
    expression->SetGlobal(true);
    expression->SetPattern(pattern);
    expressionObject.errorCode = 0;
  } else {
    expressionObject.errorCode = -1;
  }
  created = made;
  return made;
}

}  // namespace rg_Tavelkin_MingLingJi
