#include "common/object.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

uint32_t QzuClassNameHash(const char* name) {
  uint32_t h = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) h = h * 5 + *p;
  return (h | 1u) & 0x7FFFFFFFu;
}

CQzuClassInfo::CQzuClassInfo(const char* name_, CreateFunction create_, const CQzuClassInfo* base_)
    : name(name_),
      nameLength(static_cast<uint32_t>(std::strlen(name_))),
      nameHash(QzuClassNameHash(name_)),
      create(create_),
      base(base_) {}

bool CQzuClassInfo::SameClass(const CQzuClassInfo& other) const {
  if (this == &other) return true;
  return nameHash == other.nameHash && nameLength == other.nameLength && std::strcmp(name, other.name) == 0;
}

namespace {

struct ClassRegistry {
  std::mutex lock;
  std::map<std::string, const CQzuClassInfo& (*)()> classes;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

CQzuClassRegistrar::CQzuClassRegistrar(const CQzuClassInfo& (*info)()) {
  // The record itself is built lazily; only its accessor is remembered here.
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.classes.emplace(info().name, info);
}

const CQzuClassInfo* QzuFindClass(const char* name) {
  ClassRegistry& r = Registry();
  std::lock_guard<std::mutex> guard(r.lock);
  auto it = r.classes.find(name);
  return it == r.classes.end() ? nullptr : &it->second();
}

const CQzuClassInfo& CQzuObject::StaticClassInfo() {
  static const CQzuClassInfo info("CQzuObject", []() -> CQzuObject* { return new CQzuObject(); }, nullptr);
  return info;
}

const CQzuClassInfo& CQzuObject::GetClassInfo() const { return StaticClassInfo(); }

bool CQzuObject::SameHeader(const CQzuObject& other) const {
  return GetClassInfo().SameClass(other.GetClassInfo()) && (m_flags & 1u) == (other.m_flags & 1u) &&
         m_headerWord == other.m_headerWord;
}

bool CQzuObject::IsEqual(const CQzuObject& other) const { return SameHeader(other); }

CQzuObject* CQzuObject::CreateInstance() const {
  const CQzuClassInfo& info = GetClassInfo();
  return info.create ? info.create() : nullptr;
}

CQzuObject* CQzuObject::Clone() const {
  CQzuObject* copy = CreateInstance();
  if (copy && !copy->CopyFrom(*this)) {
    copy->Release();
    return nullptr;
  }
  return copy;
}

int CQzuObject::CopyFrom(const CQzuObject& source) {
  if (!source.IsKindOf(GetClassInfo())) return 0;
  if (&source != this) CopyHeader(source);
  return 1;
}

void CQzuObject::Reset() {
  std::unique_ptr<CQzuObject, void (*)(CQzuObject*)> fresh(CreateInstance(), [](CQzuObject* o) {
    if (o) o->Release();
  });
  if (fresh) {
    Clear();
    CopyFrom(*fresh);
  }
}

void CQzuObject::Release() { delete this; }

bool CQzuObject::IsKindOf(const CQzuClassInfo& info) const {
  for (const CQzuClassInfo* c = &GetClassInfo(); c; c = c->base)
    if (c->SameClass(info)) return true;
  return false;
}

CWString CQzuObject::Dump() const { return CWString::FromUtf8(GetClassInfo().name); }

void CQzuObject::LoadFromStream(CQzuStream&) {}

void CQzuObject::SaveToStream(CQzuStream&) const {}
