#pragma once
// TreeRowsView: a read-only look at a row buffer (tree_row_format.h) with the
// marker and header size it was written with, and the marker walk every scan
// of the rows is made of. A view borrows its bytes: the tree box's own buffer
// on the UI thread, or a snapshot an index worker holds. Every read is bounds
// checked; bytes past the end read as zero.
#include <cstddef>
#include <cstdint>

#include "common/mem.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

struct TreeRowsView {
  const uint8_t* data = nullptr;
  long long size = 0;
  const uint8_t* marker = nullptr;
  int markerLength = 0;
  int headerSize = 0;
  int rowCount = 0;

  // Bytes from a record's marker to its last header byte, plus one.
  long long RecordTail() const { return markerLength + headerSize; }
  // First marker that begins at or after `from` and fits wholly; -1 when none.
  long long FindMarker(long long from) const;
  // Overlapping occurrences of the marker in [from, to).
  int CountMarkers(long long from, long long to) const;
  int32_t ReadInt32(long long pos) const;
  uint8_t ReadByte(long long pos) const { return pos >= 0 && pos < size ? data[pos] : 0; }
  // A header field of the record whose marker is at `marker`.
  int32_t Field(long long marker, int field) const { return ReadInt32(marker + markerLength + field); }
  uint8_t FieldByte(long long marker, int field) const { return ReadByte(marker + markerLength + field); }
};

// A view of a whole buffer written with the given marker (its first
// `markerLength` bytes) and header size.
inline TreeRowsView ViewOfRows(const CQzuMem& rows, const CQzuMem& marker, int markerLength, int headerSize,
                               int rowCount) {
  TreeRowsView view;
  view.data = rows.GetData();
  view.size = static_cast<long long>(rows.GetSize());
  view.marker = marker.GetData();
  view.markerLength = markerLength;
  view.headerSize = headerSize;
  view.rowCount = rowCount;
  return view;
}

// The records from a record boundary on, in display order. A record's text
// starts where the previous header ended, so walking needs no backward search.
class TreeRowWalk {
 public:
  TreeRowWalk(const TreeRowsView& view, long long firstTextStart) : m_view(view), m_next(firstTextStart) {}

  // Moves to the next record; false when no marker follows.
  bool Next() {
    const long long m = m_view.FindMarker(m_next);
    if (m < 0) return false;
    m_textStart = m_next;
    m_marker = m;
    m_next = m + m_view.RecordTail();
    return true;
  }
  long long TextStart() const { return m_textStart; }
  long long Marker() const { return m_marker; }
  long long LastByte() const { return m_next - 1; }
  int32_t Level() const { return m_view.Field(m_marker, 0); }

 private:
  const TreeRowsView& m_view;
  long long m_next;
  long long m_textStart = -1;
  long long m_marker = -1;
};

// How many markers the buffer would hold, overlapping ones included, in the
// bytes that a splice touches: `bytes` put in place of [pos, pos + removed),
// together with the marker length - 1 bytes kept on either side. Every marker
// that a splice creates or breaks overlaps the new bytes, so a splice is
// sound when this equals the number of real markers among the new bytes.
int CountMarkersAfterSplice(const TreeRowsView& rows, long long pos, long long removed, const uint8_t* bytes,
                            long long count);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
