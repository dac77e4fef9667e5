#include "components/byte_buffer_object.h"

QZU_IMPLEMENT_CLASS(ByteBufferObject, CQzuObject, "ByteBufferObject")

bool ByteBufferObject::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const ByteBufferObject&>(other).bytes == bytes;
}

int ByteBufferObject::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(ByteBufferObject, source)
  bytes = src.bytes;
  return 1;
}
