#include "foldertree/tree_row_scan.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

namespace {

// First occurrence of the needle at or after `from` in [0, size); -1 when
// none. Markers start with a byte that texts rarely hold, and the walk skips
// the headers, so looking for the first byte with memchr beats a general
// substring search, whose set-up per call costs more than the few bytes
// between two records.
long long FindIn(const uint8_t* data, long long size, const uint8_t* needle, int length, long long from) {
  if (length <= 0 || from < 0 || from >= size || size - from < length) return -1;
  const uint8_t* at = data + from;
  const uint8_t* const last = data + size - length;  // the last place a whole needle fits
  while (at <= last) {
    at = static_cast<const uint8_t*>(std::memchr(at, needle[0], static_cast<size_t>(last - at + 1)));
    if (!at) return -1;
    if (std::memcmp(at, needle, static_cast<size_t>(length)) == 0) return at - data;
    ++at;
  }
  return -1;
}

int CountIn(const uint8_t* data, long long size, const uint8_t* needle, int length) {
  int count = 0;
  for (long long at = FindIn(data, size, needle, length, 0); at >= 0; at = FindIn(data, size, needle, length, at + 1))
    ++count;
  return count;
}

}  // namespace

long long TreeRowsView::FindMarker(long long from) const {
  return FindIn(data, size, marker, markerLength, std::max(from, 0LL));
}

int TreeRowsView::CountMarkers(long long from, long long to) const {
  from = std::max(from, 0LL);
  to = std::min(to, size);
  return from < to ? CountIn(data + from, to - from, marker, markerLength) : 0;
}

int32_t TreeRowsView::ReadInt32(long long pos) const {
  uint8_t bytes[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) bytes[i] = ReadByte(pos + i);
  int32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}

int CountMarkersAfterSplice(const TreeRowsView& rows, long long pos, long long removed, const uint8_t* bytes,
                            long long count) {
  const int reach = rows.markerLength - 1;
  const long long leftStart = std::max(0LL, pos - reach);
  const long long rightEnd = std::min(rows.size, pos + removed + reach);
  const uint8_t* left = rows.data + leftStart;
  const long long leftLength = pos - leftStart;
  const uint8_t* right = rows.data + pos + removed;
  const long long rightLength = rightEnd - (pos + removed);
  const auto joined = [&](const uint8_t* a, long long an, const uint8_t* b, long long bn, const uint8_t* c,
                          long long cn) {
    std::vector<uint8_t> window;
    window.reserve(static_cast<size_t>(an + bn + cn));
    window.insert(window.end(), a, a + an);
    window.insert(window.end(), b, b + bn);
    window.insert(window.end(), c, c + cn);
    return CountIn(window.data(), static_cast<long long>(window.size()), rows.marker, rows.markerLength);
  };
  if (count <= 2LL * rows.markerLength) return joined(left, leftLength, bytes, count, right, rightLength);
  // Long new bytes: the markers inside them, plus those across each seam.
  // A seam window holds fewer than a marker's length on either side of the
  // seam, so everything it finds crosses that seam and is counted once.
  return CountIn(bytes, count, rows.marker, rows.markerLength) + joined(left, leftLength, bytes, reach, nullptr, 0) +
         joined(bytes + count - reach, reach, right, rightLength, nullptr, 0);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
