#pragma once
// Where the owner-drawn label (components/owner_drawn_label.h) draws its
// parts, as a pure function of its members, the caption's measured size and
// the client size, so that the numbers can be checked without a window. H is
// the caption height; every fraction of a length is truncated.
#include <cstdint>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// Rule styles: the rule under the caption, along the top edge, both; any
// other value draws none.
inline constexpr int32_t kLabelRuleUnder = 0;
inline constexpr int32_t kLabelRuleTop = 1;
inline constexpr int32_t kLabelRuleBoth = 2;
// Marker width -1: no marker block.
inline constexpr int32_t kLabelNoMarker = -1;
// Side line styles: negative none, 0 dotted below the marker, above 0 solid
// along the right edge.
inline constexpr int32_t kLabelSideLineDotted = 0;

struct LabelLayout {
  int markerWidth = 0;    // W
  int blockBottom = 0;    // B = H + 0.3 H: the marker's height and the lower rule's y
  bool marker = false;    // the block (0, 0)-(W, B) is drawn
  bool ruleUnder = false;  // line (0, B)-(client width, B)
  bool ruleTop = false;    // line (0, 0)-(topRuleEnd, 0)
  int topRuleEnd = 0;
  int captionX = 0, captionY = 0;
  bool sideLine = false;
  bool sideLineDotted = false;
  int sideLineX = 0, sideLineTop = 0, sideLineBottom = 0;
};

struct LabelLayoutInput {
  int captionWidth = 0, captionHeight = 0;
  int clientWidth = 0, clientHeight = 0;
  int32_t markerWidth = 0;  // > 0 pixels; -1 none; anything else 0.2 H
  int32_t ruleStyle = 0;
  int32_t topRuleFitsCaption = 0;
  int32_t sideLineStyle = -1;
};

LabelLayout LayOutLabel(const LabelLayoutInput& in);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
