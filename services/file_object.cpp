#include "services/file_object.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_TavelkinWenJianDouXieLei, rg_Ombrine_base::rg_WenJianDouXieLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinWenJianDouXieLei")

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
