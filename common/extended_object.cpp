#include "common/extended_object.h"

namespace rg_Ombrine_base {

QZU_IMPLEMENT_CLASS(rg_KuoZhanDuiXiangLei, CQzuObject, "rg_Ombrine_base::rg_KuoZhanDuiXiangLei")

}  // namespace rg_Ombrine_base
