#include "components/label_layout.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// trunc(0.2 x n) and trunc(0.3 x n) in integers, where the floating products
// could land a hair below a whole number.
int Fifth(int n) { return n * 2 / 10; }
int ThreeTenths(int n) { return n * 3 / 10; }

}  // namespace

LabelLayout LayOutLabel(const LabelLayoutInput& in) {
  LabelLayout out;
  const int h = in.captionHeight;
  out.blockBottom = h + ThreeTenths(h);
  if (in.markerWidth > 0) out.markerWidth = in.markerWidth;
  else if (in.markerWidth == kLabelNoMarker) out.markerWidth = 0;
  else out.markerWidth = Fifth(h);
  out.marker = in.markerWidth != kLabelNoMarker;

  const int gap = Fifth(h);
  out.ruleUnder = in.ruleStyle == kLabelRuleUnder || in.ruleStyle == kLabelRuleBoth;
  out.ruleTop = in.ruleStyle == kLabelRuleTop || in.ruleStyle == kLabelRuleBoth;
  out.topRuleEnd = in.topRuleFitsCaption ? out.markerWidth + gap + in.captionWidth : in.clientWidth;
  out.captionX = out.markerWidth + gap;
  out.captionY = gap;

  if (in.sideLineStyle >= 0) {
    out.sideLine = true;
    out.sideLineBottom = in.clientHeight;
    if (in.sideLineStyle == kLabelSideLineDotted) {
      out.sideLineDotted = true;
      out.sideLineX = out.markerWidth / 2;
      out.sideLineTop = out.blockBottom + ThreeTenths(out.blockBottom);
    } else {
      out.sideLineX = in.clientWidth - 1;
      out.sideLineTop = out.blockBottom;
    }
  }
  return out;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
