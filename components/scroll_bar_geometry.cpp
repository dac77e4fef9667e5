#include "components/scroll_bar_geometry.h"

#include <algorithm>
#include <cmath>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// Far beyond any count, yet safe to add to a position in 64 bits.
constexpr double kUnboundedPositions = 1 << 30;

}  // namespace

int ScrollBarTrackLength(int length, int thickness) { return length - (2 * thickness + 2); }

ScrollBarThumbSize MeasureScrollBarThumb(int length, int thickness, int count, int contentSize, int lineSize,
                                         double dpiFactor) {
  const int track = ScrollBarTrackLength(length, thickness);
  ScrollBarThumbSize thumb;
  // (A count below 1 must not send a content size of 0 into the division.)
  if (contentSize > count && contentSize > 0) {
    thumb.length = static_cast<int>(static_cast<double>(track) / contentSize * (contentSize - count));
  } else {
    const long long perPosition = static_cast<long long>(lineSize * std::max(1.0, dpiFactor));
    const long long rule = track - static_cast<long long>(count) * perPosition;
    // A count of 0 or less would make the thumb longer than the track.
    thumb.length = static_cast<int>(std::clamp<long long>(rule, -(1LL << 30), std::max(track, thickness)));
  }
  if (thumb.length < thickness) thumb.length = thickness;
  const int travel = track - thumb.length;
  // One position has nowhere to go, and a thumb that fills (or overhangs)
  // the track has no travel: no step instead of a division by 0 or a
  // negative step.
  if (count >= 2 && travel > 0) thumb.step = static_cast<double>(travel) / (count - 1);
  return thumb;
}

int ClampScrollBarPosition(int position, int count) {
  if (position < 1) position = 1;
  if (position > count) position = count < 1 ? 1 : count;
  return position;
}

int ScrollBarThumbOffset(int thickness, int position, double step) {
  return thickness + 1 + static_cast<int>(std::lround((position - 1) * step));
}

int ScrollBarPositionsIn(int distance, double step) {
  double q;
  if (step > 0.0) {
    q = distance / step;
    const double whole = std::round(q);
    // A whole quotient counts as it is; floating noise around it as well.
    q = std::fabs(q - whole) < 1e-9 ? whole : std::trunc(q + 1.0);
  } else {
    q = distance > 0 ? kUnboundedPositions : 0.0;
  }
  return static_cast<int>(std::clamp(q, -kUnboundedPositions, kUnboundedPositions));
}

ScrollBarHit HitTestScrollBar(int c, int thickness, int length, int thumbOffset, int thumbLength) {
  if (c < thickness) return ScrollBarHit::kStartBox;
  if (c > length - thickness) return ScrollBarHit::kEndBox;
  if (c < thumbOffset) return ScrollBarHit::kTrackBeforeThumb;
  if (c > thumbOffset + thumbLength) return ScrollBarHit::kTrackAfterThumb;
  return ScrollBarHit::kThumb;
}

int ScrollBarTrackPressPosition(ScrollBarHit hit, int c, int thickness, int thumbLength, double step) {
  if (hit == ScrollBarHit::kTrackBeforeThumb) return ScrollBarPositionsIn(c - thickness - 1, step);
  return ScrollBarPositionsIn(c - thickness - thumbLength - 1, step);
}

std::vector<int> ScrollBarBoxInsets(int thickness, bool pressed) {
  if (pressed) return {thickness / 8, thickness / 4, static_cast<int>(thickness / 2.66)};
  return {static_cast<int>(thickness / 5.33)};
}

QzuRect ScrollBarPartRect(int x, int y, int w, int h, int inset) {
  if (h == -1) h = w;
  const int x1 = x + inset, y1 = y + inset, x2 = x + w - inset, y2 = y + h - inset;
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

std::vector<int> ScrollBarGripLines(int thumbOffset, int thumbLength) {
  const int c = thumbOffset + thumbLength / 2;
  if (thumbLength <= 10) return {c - 1, c};
  return {c - 4, c - 2, c, c + 2, c + 4};
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
