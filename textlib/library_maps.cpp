#include "textlib/library_maps.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_ZhengShuDaoBianZhengShuHaXiBiao, rg_Ombrine_base::rg_KuoZhanDuiXiangLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_ZhengShuDaoBianZhengShuHaXiBiao")
QZU_IMPLEMENT_CLASS(rg_WenBenDaoLuoJiXingHaXiBiao, rg_Ombrine_base::rg_KuoZhanDuiXiangLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_WenBenDaoLuoJiXingHaXiBiao")
QZU_IMPLEMENT_CLASS(rg_BianZhengShuDaoWenBenXingHaXiBiao, rg_Ombrine_base::rg_KuoZhanDuiXiangLei,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_BianZhengShuDaoWenBenXingHaXiBiao")

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
