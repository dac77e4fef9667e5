#pragma once
// Ordered map from text to text, in the family of the library maps.
#include "textlib/library_maps.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

class rg_WenBenDaoWenBenHaXiBiao : public LibraryMapBase<rg_WenBenDaoWenBenHaXiBiao, CWString, CWString> {
  QZU_DECLARE_CLASS(rg_WenBenDaoWenBenHaXiBiao)
};

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
