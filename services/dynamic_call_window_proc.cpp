#include "services/dynamic_call_window_proc.h"

#include "services/dynamic_call.h"

namespace rg_TavelkinMingLingJi_API {

QzuWindowProc SubclassWindowProc(QWidget* window, QzuWindowProc procedure, const CWString& library,
                                 const CWString& setterName) {
  rg_class_DongTaiDiaoYongDLL call;
  call.LoadDll(library);
  call.GetDllProc(setterName, 2);
  const intptr_t previous =
      call.CallDllProc(reinterpret_cast<intptr_t>(window), reinterpret_cast<intptr_t>(procedure));
  // Only this handle is closed: the program stays, as it must.
  call.FreeDll();
  return reinterpret_cast<QzuWindowProc>(previous);
}

}  // namespace rg_TavelkinMingLingJi_API
