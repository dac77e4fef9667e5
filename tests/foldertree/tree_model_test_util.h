#pragma once
// Shared by the tree box model tests: a host that records what the model asks
// of the widget, rows written out by hand, random trees and an oracle that
// answers every tree question from the list of levels alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/mem.h"
#include "foldertree/tree_box_model.h"
#include "test_support.h"

namespace qzu_test {

using rg_TavelkinMingLingJi_ChuangKouZuJian::ITreeBoxModelHost;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;

struct RecordingHost : ITreeBoxModelHost {
  struct Event {
    int row, action, flag;
    bool operator==(const Event&) const = default;
  };
  int repaints = 0;
  std::vector<int> scrolledTo;
  std::vector<Event> events;
  intptr_t eventResult = 0;
  void RepaintTreeBox() override { ++repaints; }
  void ScrollRowIntoView(int row) override { scrolledTo.push_back(row); }
  intptr_t RaiseRowChosenEvent(int row, int action, int flag) override {
    events.push_back({row, action, flag});
    return eventResult;
  }
};

inline std::vector<int> Items(const TreeRowLocator& a) { return a.Items(); }
inline std::string HexOfRows(const TreeBoxModel& model) { return ToHex(model.RowBuffer()); }

// One row as a test writes it down.
struct RowSpec {
  std::u16string text;
  int level = 0;
  int icon = -1;
  int userValue = 0;
  int selectedIcon = -1;
  uint8_t expand = 0;
  uint8_t check = 0;
};

// The record bytes written out field by field, independently of the model.
inline void AppendRecordByHand(std::vector<uint8_t>& out, const RowSpec& row, int headerSize) {
  const auto put = [&out](int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
  };
  for (char16_t unit : row.text) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
  }
  for (uint8_t b : {1, 2, 3, 4}) out.push_back(b);
  put(row.level);
  put(row.icon);
  put(row.selectedIcon);
  put(row.userValue);
  out.push_back(row.expand);
  out.push_back(row.check);
  if (headerSize == 26) {
    put(-1);
    put(-1);
  }
}

// Overlapping occurrences of 01 02 03 04.
inline int MarkerCount(const std::vector<uint8_t>& bytes) {
  int n = 0;
  for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    n += bytes[i] == 1 && bytes[i + 1] == 2 && bytes[i + 2] == 3 && bytes[i + 3] == 4;
  return n;
}

inline std::vector<uint8_t> BytesByHand(const std::vector<RowSpec>& rows, int headerSize) {
  std::vector<uint8_t> bytes;
  for (const RowSpec& row : rows) AppendRecordByHand(bytes, row, headerSize);
  return bytes;
}

// Adds the rows, expecting the model to refuse exactly those whose bytes
// would form a stray marker (checked by hand). A refused row is replaced by
// a plain one at its level, so the tree keeps its shape. Returns the rows
// added; their check bytes are the wanted ones, not yet written (an append
// writes 0).
inline std::vector<RowSpec> AppendAll(TreeBoxModel& model, const std::vector<RowSpec>& rows, int* refused = nullptr) {
  std::vector<RowSpec> added;
  std::vector<uint8_t> bytes;
  for (const RowSpec& wanted : rows) {
    for (RowSpec row : {wanted, RowSpec{.text = u"x", .level = wanted.level, .check = wanted.check}}) {
      RowSpec written = row;
      written.check = 0;
      std::vector<uint8_t> candidate = bytes;
      AppendRecordByHand(candidate, written, model.GetHeaderSize());
      const bool sound = MarkerCount(candidate) == static_cast<int>(added.size()) + 1;
      const int result = model.AppendTreeRow(CWString(row.text), row.icon, row.userValue, row.expand, row.level);
      if (result != (sound ? 1 : 0)) ADD_FAILURE() << "append of row " << added.size() << " gave " << result;
      if (result != 1) {
        if (refused) ++*refused;
        continue;
      }
      bytes = std::move(candidate);
      added.push_back(row);
      break;
    }
  }
  return added;
}

// Random rows that obey the level rule. `deepen` is the percentage of rows
// that go one level deeper; the rest stay or climb back a random amount.
// Texts mix ASCII, Chinese, surrogate pairs and units whose bytes are 01, 02,
// 03 or 04, so marker searches meet near misses and the odd refused row.
inline std::vector<RowSpec> RandomRows(std::mt19937& rng, int count, int deepen) {
  static const char16_t units[] = {u'a',   u'Z',   u'0',   0x4E2D, 0x6587, 0xD83D, 0xDE00, 0x0201, 0x0403,
                                   0x0102, 0x0304, 0x0001, 0x0302, 0x0004, 0x0104, 0x0203, 0x0300};
  static const int icons[] = {-1, 0, 2, 2, 3, 4, 5, 9, 11};
  static const uint8_t expands[] = {0, 0, 1, 2, 2, 3, 4, 130, 255};
  std::vector<RowSpec> rows;
  int level = -1;
  for (int i = 0; i < count; ++i) {
    if (level < 0)
      level = 0;
    else if (static_cast<int>(rng() % 100) < deepen)
      ++level;
    else
      level = static_cast<int>(rng() % (level + 1));
    RowSpec row;
    row.level = level;
    const int length = static_cast<int>(rng() % 7);
    for (int k = 0; k < length; ++k) row.text += units[rng() % std::size(units)];
    row.icon = icons[rng() % std::size(icons)];
    row.userValue = rng() % 50 == 0 ? 0x04030201 : static_cast<int>(rng() % 1000) - 500;
    row.expand = expands[rng() % std::size(expands)];
    row.check = static_cast<uint8_t>(rng() % 4);
    rows.push_back(row);
  }
  return rows;
}

// Appends the rows, then sets their check bytes (an append writes 0); a
// check byte the model refuses must be one that would form a marker. The
// buffer must then equal the records written by hand.
inline std::vector<RowSpec> BuildTree(TreeBoxModel& model, const std::vector<RowSpec>& rows, int* refused = nullptr) {
  std::vector<RowSpec> added = AppendAll(model, rows, refused);
  std::vector<int> refusedChecks;
  std::vector<uint8_t> wantedChecks;
  for (const RowSpec& row : added) wantedChecks.push_back(row.check);
  for (int r = 0; r < static_cast<int>(added.size()); ++r) {
    const uint8_t wanted = added[r].check;
    added[r].check = 0;
    TreeRowLocator locator;
    if (model.SetRowCheckState(r, wanted, 0, locator, 1))
      added[r].check = wanted;
    else
      refusedChecks.push_back(r);
  }
  const std::vector<uint8_t> bytes = BytesByHand(added, model.GetHeaderSize());
  EXPECT_EQ(ToHex(bytes), HexOfRows(model));
  for (int r : refusedChecks) {
    std::vector<RowSpec> tried = added;
    tried[r].check = wantedChecks[r];
    EXPECT_GT(MarkerCount(BytesByHand(tried, model.GetHeaderSize())), static_cast<int>(added.size())) << r;
  }
  return added;
}

// Every answer about the tree, from the levels and text lengths alone.
struct TreeOracle {
  std::vector<int> level, parent, prev, next, subtreeEnd, textStart, lastByte;

  TreeOracle(const std::vector<RowSpec>& rows, int headerSize) {
    const int n = static_cast<int>(rows.size());
    level.resize(n);
    parent.assign(n, -1);
    prev.assign(n, -1);
    next.assign(n, -1);
    subtreeEnd.resize(n);
    textStart.resize(n);
    lastByte.resize(n);
    int at = 0;
    for (int i = 0; i < n; ++i) {
      level[i] = rows[i].level;
      textStart[i] = at;
      at += static_cast<int>(rows[i].text.size()) * 2 + 4 + headerSize;
      lastByte[i] = at - 1;
      for (int j = i - 1; j >= 0; --j)
        if (level[j] == level[i] - 1) {
          parent[i] = j;
          break;
        }
      for (int j = i - 1; j >= 0 && level[j] >= level[i]; --j)
        if (level[j] == level[i]) {
          prev[i] = j;
          next[j] = i;
          break;
        }
    }
    for (int i = 0; i < n; ++i) {
      int j = i;
      while (j + 1 < n && level[j + 1] > level[i]) ++j;
      subtreeEnd[i] = j;
    }
  }

  // Rows outside collapsed subtrees for the given expand bytes.
  std::vector<int> VisibleRows(const std::vector<uint8_t>& expand) const {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(level.size());) {
      shown.push_back(i);
      i = static_cast<int8_t>(expand[i]) >= 2 ? i + 1 : subtreeEnd[i] + 1;
    }
    return shown;
  }
};

inline std::vector<int> VisibleListRows(const CQzuMem& list) {
  std::vector<int> rows;
  for (size_t at = 0; at + 8 <= list.GetSize(); at += 6) {
    int32_t row;
    std::memcpy(&row, list.GetData() + at + 2, 4);
    rows.push_back(row);
  }
  return rows;
}

// The whole visible-row list, as a paint rebuilds it.
inline void RebuildVisibleRows(TreeBoxModel& model) {
  TreeRowLocator locator;
  CQzuMem unused;
  model.BuildVisibleRowList(-1, locator, unused);
}

inline std::vector<uint8_t> ExpandBytes(const TreeBoxModel& model) {
  std::vector<uint8_t> bytes;
  for (int r = 0; r < model.GetRowCount(); ++r) {
    TreeRowLocator locator;
    bytes.push_back(static_cast<uint8_t>(model.GetRowExpandState(r, locator)));
  }
  return bytes;
}

}  // namespace qzu_test
