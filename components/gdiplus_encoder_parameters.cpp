#include "components/gdiplus_encoder_parameters.h"

#include <cstdio>
#include <cstring>

namespace rg_Qurix_gdiplus {

namespace {

// One parameter in the block: GUID, number of values, value type, pointer.
struct EncoderParameter {
  QzuGuid guid;
  uint32_t numberOfValues;
  uint32_t type;
  const void* value;
};

}  // namespace

QZU_IMPLEMENT_CLASS(rg_GPBianMaQiCanShuJi, CQzuObject, "rg_Qurix_gdiplus::rg_GPBianMaQiCanShuJi")

rg_GPBianMaQiCanShuJi& rg_GPBianMaQiCanShuJi::operator=(const rg_GPBianMaQiCanShuJi& other) {
  CopyFrom(other);
  return *this;
}

int rg_GPBianMaQiCanShuJi::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_GPBianMaQiCanShuJi, source)
  (void)src;
  return 1;
}

void rg_GPBianMaQiCanShuJi::Reset() {
  CopyHeader(rg_GPBianMaQiCanShuJi());
  m_block.Free();
  m_values.clear();
}

void rg_GPBianMaQiCanShuJi::AddParameter(const QzuGuid& guid, uint32_t type, uint32_t count, const void* values,
                                         size_t valueBytes) {
  auto stored = std::make_unique<CQzuMem>(values, valueBytes);
  // The block starts with the count, padded so the entries are aligned.
  if (m_block.IsEmpty()) m_block.SetSize(sizeof(EncoderParameter::value) > 4 ? 8 : 4);
  const uint32_t n = static_cast<uint32_t>(GetCount()) + 1;
  std::memcpy(m_block.GetData(), &n, 4);
  const EncoderParameter entry{guid, count, type, stored->GetData()};
  m_block.Append(&entry, sizeof entry);
  m_values.push_back(std::move(stored));
}

const void* rg_GPBianMaQiCanShuJi::GetParameters() const { return m_block.IsEmpty() ? nullptr : m_block.GetData(); }

int rg_GPBianMaQiCanShuJi::GetCount() const {
  if (m_block.IsEmpty()) return 0;
  uint32_t n;
  std::memcpy(&n, m_block.GetData(), 4);
  return static_cast<int>(n);
}

CWString rg_GPBianMaQiCanShuJi::Dump() const {
  CWString text;
  if (m_block.IsEmpty()) return text;
  const size_t head = sizeof(EncoderParameter::value) > 4 ? 8 : 4;
  char line[96];
  std::snprintf(line, sizeof line, "%d\r\n", GetCount());
  text += u"参数数量=";
  text += CWString::FromUtf8(line);
  for (int i = 0; i < GetCount(); ++i) {
    EncoderParameter entry;
    std::memcpy(&entry, m_block.GetData() + head + i * sizeof entry, sizeof entry);
    text += u"{";
    text += u"Guid=" + entry.guid.ToText() + u",类型=";
    std::snprintf(line, sizeof line, "%u", entry.type);
    text += CWString::FromUtf8(line) + u", 值成员数=";
    std::snprintf(line, sizeof line, "%u", entry.numberOfValues);
    text += CWString::FromUtf8(line);
    text += u"}\r\n";
  }
  return text;
}

}  // namespace rg_Qurix_gdiplus
