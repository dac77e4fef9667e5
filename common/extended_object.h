#pragma once
// rg_KuoZhanDuiXiangLei: the extended object class, the base of the library's
// map classes. It adds nothing to the root object but its own class record,
// so is-kind-of tests can name it.
#include "common/object.h"

namespace rg_Ombrine_base {

class rg_KuoZhanDuiXiangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_KuoZhanDuiXiangLei)
};

}  // namespace rg_Ombrine_base
