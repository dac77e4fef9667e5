// The factor and client size a window of a given design size opens at on
// screens of several sizes and scales.
#include <gtest/gtest.h>

#include "framework/window_fit.h"

TEST(WindowFit, StepsTheFactorDownInQuartersThenCutsTheSize) {
  const QSize design(1192, 720);
  const struct {
    const char* name;
    QSize area;
    double screenFactor, factor;
    QSize client;
  } cases[] = {
      {"fits at the screen's factor", {3840, 2160}, 2.0, 2.0, {2384, 1440}},
      {"one step down", {1600, 1000}, 1.5, 1.25, {1490, 900}},
      {"off the grid: the grid below it", {2000, 1200}, 1.6, 1.5, {1788, 1080}},
      {"two steps down", {1600, 1000}, 1.75, 1.25, {1490, 900}},
      {"a factor below 1 counts as 1", {1920, 1080}, 0.8, 1.0, {1192, 720}},
      // The frame takes 8 x 38 at factor 1.
      {"just fits with its frame", {1200, 758}, 1.0, 1.0, {1192, 720}},
      {"not at 1: cut to the area", {1200, 757}, 1.25, 1.0, {1192, 719}},
      {"small screen", {800, 600}, 1.0, 1.0, {792, 562}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowFit fit = FitWindowToArea(design, c.screenFactor, c.area);
    EXPECT_EQ(fit.factor, c.factor);
    EXPECT_EQ(fit.clientSize, c.client);
  }
  EXPECT_EQ(FrameAllowance(1.5), QSize(12, 57));
  EXPECT_EQ(AvailableClientSize(QSize(5, 5), 1.0), QSize(0, 0));
}
