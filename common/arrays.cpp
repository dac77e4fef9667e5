#include "common/arrays.h"

CQzuObjectArray::CQzuObjectArray(const CQzuObjectArray& other) {
  for (CQzuObject* o : other.m_items) m_items.push_back(o ? o->Clone() : nullptr);
}

CQzuObjectArray& CQzuObjectArray::operator=(const CQzuObjectArray& other) {
  if (this != &other) {
    CQzuObjectArray copy(other);
    Empty();
    m_items.swap(copy.m_items);
  }
  return *this;
}

CQzuObjectArray::~CQzuObjectArray() { Empty(); }

void CQzuObjectArray::RemoveAt(size_t at) {
  if (at >= m_items.size()) return;
  if (m_items[at]) m_items[at]->Release();
  m_items.erase(m_items.begin() + static_cast<long>(at));
}

void CQzuObjectArray::Empty() {
  for (CQzuObject* o : m_items)
    if (o) o->Release();
  m_items.clear();
}

void CQzuObjectArray::SaveToStream(CQzuStream& s) const {
  if (!s.Ok()) return;
  s.WriteUInt32(static_cast<uint32_t>(m_items.size()));
  for (CQzuObject* o : m_items) {
    s.WriteText(o ? CWString::FromUtf8(o->GetClassInfo().name) : CWString());
    if (o) o->SaveToStream(s);
  }
}

void CQzuObjectArray::LoadFromStream(CQzuStream& s) {
  uint32_t count;
  if (!s.ReadUInt32(count)) return;
  Empty();
  for (uint32_t i = 0; i < count && s.Ok(); ++i) {
    CWString name;
    if (!s.ReadText(name)) return;
    if (name.IsEmpty()) {
      m_items.push_back(nullptr);
      continue;
    }
    const CQzuClassInfo* info = QzuFindClass(name.ToUtf8().c_str());
    if (!info || !info->create) {  // a class this program does not know
      s.SetError(kQzuStreamShortRead);
      return;
    }
    CQzuObject* o = info->create();
    o->LoadFromStream(s);
    m_items.push_back(o);
  }
}
