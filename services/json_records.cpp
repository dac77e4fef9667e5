#include "services/json_records.h"

namespace rg_TavelkinJSON_package {

QZU_IMPLEMENT_CLASS(rg_TavelkinJSONJieDian, CQzuObject, "rg_TavelkinJSON_package::rg_TavelkinJSONJieDian")

rg_TavelkinJSONJieDian::rg_TavelkinJSONJieDian(const rg_TavelkinJSONJieDian& other) : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinJSONJieDian& rg_TavelkinJSONJieDian::operator=(const rg_TavelkinJSONJieDian& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinJSONJieDian::IsEqual(const CQzuObject& other) const { return &other == this && SameHeader(other); }

int rg_TavelkinJSONJieDian::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinJSONJieDian, source)
  firstInteger = src.firstInteger;
  firstText = src.firstText;
  secondText = src.secondText;
  objects = src.objects;  // clones every object
  secondInteger = src.secondInteger;
  thirdInteger = src.thirdInteger;
  return 1;
}

void rg_TavelkinJSONJieDian::Clear() {
  firstInteger = 0;
  firstText.Empty();
  secondText.Empty();
  objects.Empty();
  secondInteger = 0;
  thirdInteger = 0;
}

void rg_TavelkinJSONJieDian::LoadFromStream(CQzuStream& stream) {
  int32_t value;
  if (stream.ReadInt32(value)) firstInteger = value;
  stream.ReadText(firstText);
  stream.ReadText(secondText);
  objects.LoadFromStream(stream);
  if (stream.ReadInt32(value)) secondInteger = value;
  if (stream.ReadInt32(value)) thirdInteger = value;
}

void rg_TavelkinJSONJieDian::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(firstInteger);
  stream.WriteText(firstText);
  stream.WriteText(secondText);
  objects.SaveToStream(stream);
  stream.WriteInt32(secondInteger);
  stream.WriteInt32(thirdInteger);
}

QZU_IMPLEMENT_CLASS(rg_TavelkinJSONLei, CQzuObject, "rg_TavelkinJSON_package::rg_TavelkinJSONLei")

rg_TavelkinJSONLei::rg_TavelkinJSONLei(const rg_TavelkinJSONLei& other) : CQzuObject() { CopyFrom(other); }

rg_TavelkinJSONLei& rg_TavelkinJSONLei::operator=(const rg_TavelkinJSONLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinJSONLei::IsEqual(const CQzuObject& other) const { return &other == this && SameHeader(other); }

void CopyJsonDocumentFields(rg_TavelkinJSONLei& target, const rg_TavelkinJSONLei& source) {
  if (&target == &source) return;
  target.characters = source.characters;
  target.firstText = source.firstText;
  target.rootNode.CopyFrom(source.rootNode);
  target.fileObject.CopyFrom(source.fileObject);
  target.value64 = source.value64;
  target.firstInteger = source.firstInteger;
  target.firstBuffer = source.firstBuffer;
  target.sizeValue = source.sizeValue;
  target.secondInteger = source.secondInteger;
  target.secondBuffer = source.secondBuffer;
  target.thirdInteger = source.thirdInteger;
  target.secondText = source.secondText;
  target.fourthInteger = source.fourthInteger;
}

int rg_TavelkinJSONLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinJSONLei, source)
  CopyJsonDocumentFields(*this, src);
  return 1;
}

void rg_TavelkinJSONLei::Clear() {
  characters.Empty();
  firstText.Empty();
  rootNode.Clear();
  value64 = 0;
  firstInteger = 0;
  firstBuffer.Free();
  secondInteger = 0;
  secondBuffer.Free();
  thirdInteger = 0;
  secondText.Empty();
  fourthInteger = 0;
}

void rg_TavelkinJSONLei::LoadFromStream(CQzuStream& stream) {
  characters.LoadFromStream(stream);
  stream.ReadText(firstText);
  rootNode.LoadFromStream(stream);
  fileObject.LoadFromStream(stream);
  int64_t wide;
  if (stream.ReadInt64(wide)) value64 = wide;
  int32_t value;
  if (stream.ReadInt32(value)) firstInteger = value;
  stream.ReadMem(firstBuffer);
  if (stream.ReadInt32(value)) sizeValue = value;
  if (stream.ReadInt32(value)) secondInteger = value;
  stream.ReadMem(secondBuffer);
  if (stream.ReadInt32(value)) thirdInteger = value;
  stream.ReadText(secondText);
  if (stream.ReadInt32(value)) fourthInteger = value;
}

void rg_TavelkinJSONLei::SaveToStream(CQzuStream& stream) const {
  characters.SaveToStream(stream);
  stream.WriteText(firstText);
  rootNode.SaveToStream(stream);
  fileObject.SaveToStream(stream);
  stream.WriteInt64(value64);
  stream.WriteInt32(firstInteger);
  stream.WriteMem(firstBuffer);
  stream.WriteInt32(sizeValue);
  stream.WriteInt32(secondInteger);
  stream.WriteMem(secondBuffer);
  stream.WriteInt32(thirdInteger);
  stream.WriteText(secondText);
  stream.WriteInt32(fourthInteger);
}

}  // namespace rg_TavelkinJSON_package
