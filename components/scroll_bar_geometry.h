#pragma once
// Geometry of the owner-drawn scroll bar (components/scroll_bar.h) as pure
// functions, so that its numbers can be checked without a window. Lengths
// are pixels along the bar; T is the thickness (the side of each end box),
// L the length, K the position count, positions run from 1 to K.
//
// The step (pixels of thumb travel per position) is 0 when there is no
// travel: one position or fewer, or a track no longer than the thumb. Every
// function here takes a step of 0 without dividing by it.
#include <vector>

#include "framework/drawing_dc.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

struct ScrollBarThumbSize {
  int length = 0;
  double step = 0.0;
};

// The track between the end boxes: L - (2T + 2).
int ScrollBarTrackLength(int length, int thickness);

// Thumb length: with a content size N above K (and above 0), trunc(track / N x (N - K));
// otherwise track - K x trunc(line size x DPI factor); never shorter than T,
// and never longer than the track where the track is at least T. Step:
// (track - thumb) / (K - 1), or 0 when K < 2 or the thumb fills the track.
ScrollBarThumbSize MeasureScrollBarThumb(int length, int thickness, int count, int contentSize, int lineSize,
                                         double dpiFactor);

// Below 1 becomes 1, above K becomes K; a count below 1 keeps position 1.
int ClampScrollBarPosition(int position, int count);

// Start of the thumb: T + 1 + round((position - 1) x step), halves away
// from zero.
int ScrollBarThumbOffset(int thickness, int position, double step);

// up(d): the positions that `distance` pixels span: d / step when that is a
// whole number, else trunc(d / step + 1). With no step, any distance beyond
// 0 spans more positions than a bar can have, and the rest spans none.
int ScrollBarPositionsIn(int distance, double step);

// What a press at coordinate c along the bar hits.
enum class ScrollBarHit { kStartBox, kEndBox, kTrackBeforeThumb, kTrackAfterThumb, kThumb };
// c < T: start box; c > L - T: end box; before the thumb's offset or after
// its end (offset + length): the track; else the thumb, both ends included.
ScrollBarHit HitTestScrollBar(int c, int thickness, int length, int thumbOffset, int thumbLength);
// The position a track press jumps to (before clamping).
int ScrollBarTrackPressPosition(ScrollBarHit hit, int c, int thickness, int thumbLength, double step);

// Insets of the boxes drawn inside an end box over its plain square: T / 8,
// T / 4 and trunc(T / 2.66) while it is held down, else trunc(T / 5.33).
std::vector<int> ScrollBarBoxInsets(int thickness, bool pressed);

// The rectangle of a bar part: (x + inset, y + inset) to (x + w - inset,
// y + h - inset) with its corners ordered; h = -1 means h = w.
QzuRect ScrollBarPartRect(int x, int y, int w, int h, int inset);

// Coordinates of the grip lines across the thumb, around its middle
// c = offset + length / 2: c - 1 and c for a thumb of 10 pixels or less,
// else c - 4, c - 2, c, c + 2 and c + 4.
std::vector<int> ScrollBarGripLines(int thumbOffset, int thumbLength);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
