#pragma once
// The two painters of an owner-drawn component: a hidden canvas it paints on
// and the visible display that shows the canvas and takes the mouse. Both
// cover the component's client area; its size handler stretches them.
#include "framework/painter.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Moves both painters to (0, 0) with the owner's client size. An empty client
// area (zero width or height) leaves them where they were and returns false.
bool StretchSurfacesOverClient(const CQzuWinControl& owner, rg_Ombrine_MFCJieMian_base::rg_painter& canvas,
                               rg_Ombrine_MFCJieMian_base::rg_painter& display);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
