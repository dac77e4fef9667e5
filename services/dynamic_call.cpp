#include "services/dynamic_call.h"

#include <dlfcn.h>

#include <string>

namespace rg_TavelkinMingLingJi_API {

QZU_IMPLEMENT_CLASS(rg_class_DongTaiDiaoYongDLL, CQzuObject, "rg_TavelkinMingLingJi_API::rg_class_DongTaiDiaoYongDLL")

bool rg_class_DongTaiDiaoYongDLL::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_class_DongTaiDiaoYongDLL&>(other);
  return m_module == o.m_module && m_procedure == o.m_procedure && m_dllName == o.m_dllName &&
         spareText == o.spareText && m_argumentCount == o.m_argumentCount;
}

int rg_class_DongTaiDiaoYongDLL::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_class_DongTaiDiaoYongDLL, source)
  m_module = src.m_module;
  m_procedure = src.m_procedure;
  m_dllName = src.m_dllName;
  spareText = src.spareText;
  m_argumentCount = src.m_argumentCount;
  return 1;
}

void rg_class_DongTaiDiaoYongDLL::Reset() {
  m_module = nullptr;
  m_procedure = nullptr;
  m_dllName = CWString();
  spareText = CWString();
  m_argumentCount = 0;
}

void rg_class_DongTaiDiaoYongDLL::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt64(0);
  stream.WriteInt64(0);
  stream.WriteText(m_dllName);
  stream.WriteText(spareText);
  stream.WriteInt32(m_argumentCount);
}

void rg_class_DongTaiDiaoYongDLL::LoadFromStream(CQzuStream& stream) {
  int64_t module = 0, procedure = 0;
  CWString name, spare;
  int32_t count = 0;
  if (!stream.ReadInt64(module) || !stream.ReadInt64(procedure) || !stream.ReadText(name) ||
      !stream.ReadText(spare) || !stream.ReadInt32(count))
    return;
  m_dllName = name;
  spareText = spare;
  m_argumentCount = count;
}

void rg_class_DongTaiDiaoYongDLL::LoadDll(const CWString& dllName) {
  if (m_module) return;
  m_dllName = dllName;
  const std::string path = dllName.ToSystemPath();
  m_module = ::dlopen(path.empty() ? nullptr : path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void rg_class_DongTaiDiaoYongDLL::GetDllProc(const CWString& procName, int argumentCount) {
  // dlsym with a null handle would search the whole process: without a
  // library of our own there is nothing to find.
  m_procedure = m_module ? ::dlsym(m_module, procName.ToUtf8().c_str()) : nullptr;
  m_argumentCount = argumentCount;
}

intptr_t rg_class_DongTaiDiaoYongDLL::CallDllProc(intptr_t a1, intptr_t a2, intptr_t a3, intptr_t a4,
                                                  intptr_t a5) const {
  if (!m_procedure) return 0;
  // Integer and pointer arguments travel in registers of one width on this
  // platform's calling convention, so one pointer-sized signature per
  // argument count reaches any such function.
  void* p = m_procedure;
  switch (m_argumentCount) {
    case 0: return reinterpret_cast<intptr_t (*)()>(p)();
    case 1: return reinterpret_cast<intptr_t (*)(intptr_t)>(p)(a1);
    case 2: return reinterpret_cast<intptr_t (*)(intptr_t, intptr_t)>(p)(a1, a2);
    case 3: return reinterpret_cast<intptr_t (*)(intptr_t, intptr_t, intptr_t)>(p)(a1, a2, a3);
    case 4: return reinterpret_cast<intptr_t (*)(intptr_t, intptr_t, intptr_t, intptr_t)>(p)(a1, a2, a3, a4);
    case 5:
      return reinterpret_cast<intptr_t (*)(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t)>(p)(a1, a2, a3, a4, a5);
    default: return 0;
  }
}

void rg_class_DongTaiDiaoYongDLL::FreeDll() {
  if (m_module) ::dlclose(m_module);
  m_module = nullptr;
  m_procedure = nullptr;
}

}  // namespace rg_TavelkinMingLingJi_API
