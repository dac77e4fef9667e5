#include "components/owner_drawn_surfaces.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

bool StretchSurfacesOverClient(const CQzuWinControl& owner, rg_Ombrine_MFCJieMian_base::rg_painter& canvas,
                               rg_Ombrine_MFCJieMian_base::rg_painter& display) {
  const int w = owner.GetClientWidth(), h = owner.GetClientHeight();
  if (w <= 0 || h <= 0) return false;
  canvas.Move(0, 0, w, h);
  display.Move(0, 0, w, h);
  return true;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
