#pragma once
// A byte buffer as an object, so that object arrays can hold one (the picture
// group keeps the SVG data each picture was rendered from in these).
#include "common/mem.h"
#include "common/object.h"

class ByteBufferObject : public CQzuObject {
  QZU_DECLARE_CLASS(ByteBufferObject)
 public:
  ByteBufferObject() = default;
  explicit ByteBufferObject(CQzuMem bytes) : bytes(std::move(bytes)) {}

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override { bytes.Free(); }
  // Stream form: a 4-byte byte count and the bytes.
  void LoadFromStream(CQzuStream& stream) override { stream.ReadMem(bytes); }
  void SaveToStream(CQzuStream& stream) const override { stream.WriteMem(bytes); }

  CQzuMem bytes;
};
