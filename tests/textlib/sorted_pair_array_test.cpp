// Sorting key-value pairs and ranges, and the sorted pair array's object
// operations.
#include "textlib/sorted_pair_array.h"

#include <gtest/gtest.h>

#include <vector>

using rg_Ombrine_base::rg_ZhengShuShuZuLei;
using rg_Tavelkin_MingLingJi::rg_TavelkinPaiXuShuangZhengShuZuLei;

namespace {

struct PairCase {
  const char* name;
  std::vector<int32_t> keys, values;
  std::vector<int32_t> wantKeys, wantValues;
};

TEST(SortPairsByKey, SortsTogetherAndKeepsEqualKeysInOrder) {
  const std::vector<PairCase> cases = {
      {"three", {3, 1, 2}, {30, 10, 20}, {1, 2, 3}, {10, 20, 30}},
      {"equal keys stable", {5, 5, 1}, {1, 2, 3}, {1, 5, 5}, {3, 1, 2}},
      {"empty", {}, {}, {}, {}},
      {"single", {7}, {70}, {7}, {70}},
      {"negative and descending", {4, -1, 3, -9, 0, 4, 2}, {1, 2, 3, 4, 5, 6, 7},
       {-9, -1, 0, 2, 3, 4, 4}, {4, 2, 5, 7, 3, 1, 6}},
      {"many equal", {2, 1, 2, 1, 2, 1}, {1, 2, 3, 4, 5, 6}, {1, 1, 1, 2, 2, 2}, {2, 4, 6, 1, 3, 5}},
  };
  for (const PairCase& c : cases) {
    rg_ZhengShuShuZuLei keys(c.keys), values(c.values);
    rg_TavelkinPaiXuShuangZhengShuZuLei sorter;
    sorter.SortPairsByKey(keys, values);
    EXPECT_EQ(keys.Items(), c.wantKeys) << c.name;
    EXPECT_EQ(values.Items(), c.wantValues) << c.name;
    EXPECT_TRUE(sorter.keyArray.IsEmpty()) << c.name;
    EXPECT_TRUE(sorter.valueArray.IsEmpty()) << c.name;
  }
}

TEST(SortPairsByKey, LongPseudoRandomInputMatchesStableSort) {
  std::vector<int32_t> k, v;
  uint32_t x = 12345;
  for (int i = 0; i < 2000; ++i) {
    x = x * 1103515245u + 12345u;
    k.push_back(static_cast<int32_t>((x >> 16) % 50) - 25);
    v.push_back(i);
  }
  std::vector<std::pair<int32_t, int32_t>> want;
  for (size_t i = 0; i < k.size(); ++i) want.emplace_back(k[i], v[i]);
  std::stable_sort(want.begin(), want.end(), [](auto& a, auto& b) { return a.first < b.first; });

  rg_ZhengShuShuZuLei keys(k), values(v);
  rg_TavelkinPaiXuShuangZhengShuZuLei().SortPairsByKey(keys, values);
  ASSERT_EQ(keys.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(keys[i], want[i].first) << i;
    EXPECT_EQ(values[i], want[i].second) << i;
  }
}

TEST(SortPairsByKey, MismatchedSizesLeaveTheArraysAlone) {
  rg_ZhengShuShuZuLei keys{3, 1}, values{1};
  rg_TavelkinPaiXuShuangZhengShuZuLei().SortPairsByKey(keys, values);
  EXPECT_EQ(keys.Items(), (std::vector<int32_t>{3, 1}));
  EXPECT_EQ(values.Items(), (std::vector<int32_t>{1}));
}

struct RangeCase {
  const char* name;
  std::vector<int32_t> starts, lengths;
  std::vector<int32_t> wantStarts, wantLengths;
};

TEST(SortRangePairs, SortsAndMergesOverlappingOrTouchingRanges) {
  const std::vector<RangeCase> cases = {
      {"unsorted apart", {10, 0}, {5, 3}, {0, 10}, {3, 5}},
      {"touching merge", {0, 5}, {5, 3}, {0}, {8}},
      {"one apart stays", {0, 6}, {5, 3}, {0, 6}, {5, 3}},
      {"same start keeps longer", {2, 2}, {3, 7}, {2}, {7}},
      {"contained", {0, 3}, {10, 2}, {0}, {10}},
      {"chain", {0, 2, 5}, {4, 4, 1}, {0}, {6}},
      {"zero length alone", {7}, {0}, {7}, {0}},
      {"zero length at end merged", {3, 7}, {4, 0}, {3}, {4}},
      {"empty", {}, {}, {}, {}},
      {"mixed", {20, 1, 30, 4, 2, 25}, {2, 2, 1, 3, 1, 5}, {1, 4, 20, 25}, {2, 3, 2, 6}},
  };
  for (const RangeCase& c : cases) {
    rg_ZhengShuShuZuLei starts(c.starts), lengths(c.lengths);
    SortRangePairs(starts, lengths);
    EXPECT_EQ(starts.Items(), c.wantStarts) << c.name;
    EXPECT_EQ(lengths.Items(), c.wantLengths) << c.name;
  }
}

TEST(SortedPairArray, ObjectOperations) {
  rg_TavelkinPaiXuShuangZhengShuZuLei a;
  a.keyArray = rg_ZhengShuShuZuLei{1, 2};
  a.valueArray = rg_ZhengShuShuZuLei{10, 20};
  a.orderFlag = 1;

  rg_TavelkinPaiXuShuangZhengShuZuLei b;
  EXPECT_EQ(b.CopyFrom(a), 1);
  EXPECT_EQ(b.keyArray, a.keyArray);
  EXPECT_EQ(b.valueArray, a.valueArray);
  EXPECT_EQ(b.orderFlag, 1);
  EXPECT_TRUE(a.IsEqual(a));
  EXPECT_FALSE(a.IsEqual(b));  // distinct instances never compare equal

  CQzuObject plain;
  EXPECT_EQ(b.CopyFrom(plain), 0);
  EXPECT_EQ(b.orderFlag, 1);

  CQzuObject* clone = a.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<rg_TavelkinPaiXuShuangZhengShuZuLei*>(clone)->valueArray, a.valueArray);
  clone->Release();

  CQzuMemStream stream;
  a.SaveToStream(stream);
  CQzuMemStream readBack(stream.Buffer());
  rg_TavelkinPaiXuShuangZhengShuZuLei loaded;
  loaded.LoadFromStream(readBack);
  EXPECT_EQ(readBack.GetError(), 0);
  EXPECT_EQ(loaded.keyArray, a.keyArray);
  EXPECT_EQ(loaded.valueArray, a.valueArray);
  EXPECT_EQ(loaded.orderFlag, 1);

  // Missing flag bytes: a short read.
  CQzuMem truncated(stream.Buffer().GetData(), stream.Buffer().GetSize() - 2);
  CQzuMemStream shortStream(truncated);
  rg_TavelkinPaiXuShuangZhengShuZuLei partial;
  partial.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(partial.orderFlag, 0);

  a.Reset();
  EXPECT_TRUE(a.keyArray.IsEmpty());
  EXPECT_TRUE(a.valueArray.IsEmpty());
  EXPECT_EQ(a.orderFlag, 0);
}

}  // namespace
