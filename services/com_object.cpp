#include "services/com_object.h"

#include <map>
#include <mutex>

#include "services/http_request.h"
#include "services/regexp_instance.h"

QZU_IMPLEMENT_CLASS(CQzuComObject, CQzuObject, "CQzuComObject")

CQzuComObject::CQzuComObject(const CQzuComObject& other)
    : CQzuObject(other), errorCode(other.errorCode), m_instance(other.m_instance) {}

CQzuComObject& CQzuComObject::operator=(const CQzuComObject& other) {
  CopyFrom(other);
  return *this;
}

bool CQzuComObject::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const CQzuComObject&>(other).m_instance == m_instance;
}

int CQzuComObject::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(CQzuComObject, source)
  m_instance = src.m_instance;
  errorCode = src.errorCode;
  return 1;
}

void CQzuComObject::Clear() {
  m_instance.Reset();
  errorCode = 0;
}

void CQzuComObject::LoadFromStream(CQzuStream& stream) {
  int32_t code;
  if (stream.ReadInt32(code)) errorCode = code;
}

void CQzuComObject::SaveToStream(CQzuStream& stream) const { stream.WriteInt32(errorCode); }

void CQzuComObject::Attach(CQzuRef<CQzuComInstance> instance) { m_instance = std::move(instance); }

namespace {

// Program ids are case-insensitive, as the system registry treats them.
struct ProgramIdLess {
  bool operator()(const CWString& a, const CWString& b) const { return a.ToUpperAscii() < b.ToUpperAscii(); }
};

struct ComClassTable {
  std::mutex lock;
  std::map<CWString, CQzuComFactory, ProgramIdLess> registered;
};

ComClassTable& Table() {
  static ComClassTable table;
  return table;
}

CQzuComFactory BuiltInFactory(const CWString& programId) {
  if (programId.EqualsIgnoreAsciiCase(u"VBScript.RegExp")) return &MakeRegExpInstance;
  if (programId.EqualsIgnoreAsciiCase(u"WinHttp.WinHttpRequest.5.1")) return &MakeHttpRequestInstance;
  return {};
}

}  // namespace

void RegisterComClass(const CWString& programId, CQzuComFactory factory) {
  ComClassTable& table = Table();
  std::lock_guard<std::mutex> guard(table.lock);
  if (factory)
    table.registered[programId] = std::move(factory);
  else
    table.registered.erase(programId);
}

int CreateComObject(CQzuComObject& holder, const CWString& programId, const CWString& /*typeLibraryFile*/) {
  size_t skip = 0;
  while (skip < programId.GetLength() && programId[skip] <= 32) ++skip;
  const CWString id = programId.Mid(static_cast<int>(skip));
  if (id.IsEmpty()) return 0;

  CQzuComFactory factory;
  {
    ComClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = table.registered.find(id);
    if (it != table.registered.end()) factory = it->second;
  }
  if (!factory) factory = BuiltInFactory(id);
  if (!factory) return 0;

  // The maker runs outside the lock: it may register or create in turn.
  CQzuRef<CQzuComInstance> instance = factory();
  if (!instance) return 0;
  holder.Attach(std::move(instance));
  return 1;
}
