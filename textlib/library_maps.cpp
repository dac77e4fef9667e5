#include "textlib/library_maps.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

QZU_IMPLEMENT_CLASS(rg_ZhengShuDaoBianZhengShuHaXiBiao, CQzuObject,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_ZhengShuDaoBianZhengShuHaXiBiao")
QZU_IMPLEMENT_CLASS(rg_WenBenDaoLuoJiXingHaXiBiao, CQzuObject,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_WenBenDaoLuoJiXingHaXiBiao")
QZU_IMPLEMENT_CLASS(rg_BianZhengShuDaoWenBenXingHaXiBiao, CQzuObject,
                    "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_BianZhengShuDaoWenBenXingHaXiBiao")

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
