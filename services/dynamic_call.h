#pragma once
// rg_class_DongTaiDiaoYongDLL: calls a function of a shared library that is
// loaded by name at run time, with up to five pointer-sized arguments, without
// linking against it. Nothing reports an error: a library that cannot be
// loaded or a name that is not found leaves the procedure null, and calling a
// null procedure returns 0 without a call.
//
// Destroying or resetting the object does not unload the library; its user
// unloads it with FreeDll when done. Copies carry the same handles.
#include <cstdint>

#include "common/object.h"

namespace rg_TavelkinMingLingJi_API {

class rg_class_DongTaiDiaoYongDLL : public CQzuObject {
  QZU_DECLARE_CLASS(rg_class_DongTaiDiaoYongDLL)
 public:
  rg_class_DongTaiDiaoYongDLL() = default;
  rg_class_DongTaiDiaoYongDLL(const rg_class_DongTaiDiaoYongDLL& other) = default;
  rg_class_DongTaiDiaoYongDLL& operator=(const rg_class_DongTaiDiaoYongDLL& other) = default;
  ~rg_class_DongTaiDiaoYongDLL() override = default;

  // Class, header and all five members.
  bool IsEqual(const CQzuObject& other) const override;
  // All five members; the library is not loaded again.
  int CopyFrom(const CQzuObject& source) override;
  // Values of a new object; a loaded library stays loaded.
  void Reset() override;
  // Handles belong to this run: they are written as 0 and never loaded back,
  // so a stream can never make the object call an address it names.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Loads the library unless one is held already (then the first name and
  // handle stay). The empty name opens the program itself, whose exported
  // symbols can then be looked up.
  void LoadDll(const CWString& dllName);
  // Looks the function up in the loaded library and keeps how many of the
  // five arguments it takes (0 to 5).
  void GetDllProc(const CWString& procName, int argumentCount);
  // Calls the procedure with its first `argumentCount` arguments and returns
  // its result; 0 without a call when there is no procedure or the count is
  // outside 0 to 5. A function returning a 32-bit value fills only the low
  // half of the result: cast it to int32_t.
  intptr_t CallDllProc(intptr_t a1 = 0, intptr_t a2 = 0, intptr_t a3 = 0, intptr_t a4 = 0, intptr_t a5 = 0) const;
  // Unloads the library and forgets the module and procedure.
  void FreeDll();

  void* GetModule() const { return m_module; }
  void* GetProcedure() const { return m_procedure; }
  const CWString& GetDllName() const { return m_dllName; }
  int32_t GetArgumentCount() const { return m_argumentCount; }

  // Carried in copies and the stream form; nothing writes it.
  CWString spareText;

 private:
  void* m_module = nullptr;
  void* m_procedure = nullptr;
  CWString m_dllName;
  int32_t m_argumentCount = 0;
};

}  // namespace rg_TavelkinMingLingJi_API
