// The button's colour rules as pure functions: which state a redraw paints,
// and how the stand-ins -2, -1 and 0xFF000000 resolve.
#include <gtest/gtest.h>

#include "components/button_colours.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;

namespace {

constexpr COLORREF N = kColourOfNormalState;
constexpr COLORREF F = kColourOfButtonFace;
constexpr COLORREF P = kColourOfParent;
const ButtonColourRow kText = {0x000000, 0x0000FF, N, 0xC0C0C0};
const ButtonColourRow kBack = {0xECECEC, 0xFBF1E5, 0xFBF1E5, N};
const ButtonColourRow kBorder = {0xC0C0C0, 0xDB8417, N, N};

}  // namespace

TEST(ButtonColours, StandInsResolvePerStateAndColourKind) {
  struct Row {
    const char* name;
    ButtonColourRow text, back, border;
    int32_t state;
    COLORREF parent;
    COLORREF wantBack, wantText, wantBorder;
  };
  const Row rows[] = {
      {"normal", kText, kBack, kBorder, 0, F, 0xECECEC, 0x000000, 0xC0C0C0},
      {"hover", kText, kBack, kBorder, 1, F, 0xFBF1E5, 0x0000FF, 0xDB8417},
      {"pressed takes the normal text and border", kText, kBack, kBorder, 2, F, 0xFBF1E5, 0x000000, 0xC0C0C0},
      {"disabled takes the normal background and border", kText, kBack, kBorder, 3, F, 0xECECEC, 0xC0C0C0,
       0xC0C0C0},
      {"states above 3 are disabled", kText, kBack, kBorder, 9, F, 0xECECEC, 0xC0C0C0, 0xC0C0C0},
      {"states below 0 are normal", kText, kBack, kBorder, -4, F, 0xECECEC, 0x000000, 0xC0C0C0},
      {"-2 everywhere: plain background, black text, border of the text", {N, 0x0000FF, N, N}, {N, N, N, N},
       {N, N, N, N}, 1, F, 0xECECEC, 0x0000FF, 0x0000FF},
      {"-2 border follows the resolved text", {0x00FF00, N, N, N}, kBack, {N, N, N, N}, 2, F, 0xFBF1E5, 0x00FF00,
       0x00FF00},
      {"parent colour", {P, P, P, P}, {P, P, P, P}, {P, P, P, P}, 0, 0x123456, 0x123456, 0x123456, 0x123456},
      {"parent colour of -1 is the button face", kText, {P, P, P, P}, {P, P, P, P}, 1, F, 0xF0F0F0, 0x0000FF,
       0xF0F0F0},
      {"-1 is the button face", {F, F, F, F}, {F, F, F, F}, {F, F, F, F}, 3, 0x123456, 0xF0F0F0, 0xF0F0F0,
       0xF0F0F0},
      {"-2 reaching the parent stand-in of state 0", kText, {P, 0xFBF1E5, 0xFBF1E5, N}, {P, 0, N, N}, 3, 0xABCDEF,
       0xABCDEF, 0xC0C0C0, 0xABCDEF},
      {"plain colours pass unchanged", kText, {0xD9ECFF, 0x1, 0x2, 0x3}, {0x0080FF, 0x4, 0x5, 0x6}, 0, F, 0xD9ECFF,
       0x000000, 0x0080FF},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ButtonColours c = ResolveButtonColours(row.text, row.back, row.border, row.state, row.parent);
    EXPECT_EQ(c.background, row.wantBack);
    EXPECT_EQ(c.text, row.wantText);
    EXPECT_EQ(c.border, row.wantBorder);
  }
}

TEST(ButtonColours, ACheckedCheckButtonLooksPressedWhileNormalOrHovered) {
  struct Row {
    int32_t visual, checkMode, checked, want;
  } rows[] = {
      {0, 1, 1, 2}, {1, 1, 1, 2}, {2, 1, 1, 2}, {3, 1, 1, 3},  // checked check button
      {0, 0, 1, 0}, {1, 0, 1, 1},                              // push buttons toggle too, but look the same
      {0, 1, 0, 0}, {1, 1, 0, 1},                              // unchecked
  };
  for (const Row& r : rows)
    EXPECT_EQ(EffectiveButtonState(r.visual, r.checkMode, r.checked), r.want)
        << r.visual << " " << r.checkMode << " " << r.checked;
}
