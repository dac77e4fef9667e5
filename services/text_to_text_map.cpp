#include "services/text_to_text_map.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_WenBenDaoWenBenHaXiBiao, rg_Ombrine_base::rg_KuoZhanDuiXiangLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_WenBenDaoWenBenHaXiBiao")

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
