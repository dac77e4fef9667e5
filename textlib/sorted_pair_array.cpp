#include "textlib/sorted_pair_array.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinPaiXuShuangZhengShuZuLei, CQzuObject,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinPaiXuShuangZhengShuZuLei")

void rg_TavelkinPaiXuShuangZhengShuZuLei::SortPairsByKey(rg_Ombrine_base::rg_ZhengShuShuZuLei& keys,
                                                         rg_Ombrine_base::rg_ZhengShuShuZuLei& values) {
  orderFlag = 1;
  const size_t count = keys.size();
  if (count == 0 || values.size() != count) return;
  // A stable sort keeps equal keys in arrival order, as inserting one pair
  // after another would, in n log n steps. Inserting each pair into the sorted
  // part costs a shift of everything behind it: quadratic when the keys come
  // as interleaved sorted runs (a page whose elements alternate between two
  // names gives one run per name).
  std::vector<std::pair<int32_t, int32_t>> pairs(count);
  for (size_t i = 0; i < count; ++i) pairs[i] = {keys[i], values[i]};
  std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < count; ++i) {
    keys.Items()[i] = pairs[i].first;
    values.Items()[i] = pairs[i].second;
  }
}

void rg_TavelkinPaiXuShuangZhengShuZuLei::InsertPairSorted(int32_t lastIndex, int32_t key, int32_t value) {
  // With the ascending flag a new key goes before every strictly greater key
  // and after every equal one, which keeps equal keys in arrival order.
  const auto goesBefore = [&](int32_t elementKey) { return static_cast<int32_t>(key < elementKey) == orderFlag; };
  if (lastIndex >= keyArray.GetCount()) lastIndex = keyArray.GetCount() - 1;
  int32_t position = 0;
  if (lastIndex >= 0) {
    int32_t low = 0;
    int32_t high = lastIndex;
    int32_t n = high - low + 1;
    int32_t mid = low + n / 2;
    while (n > 2) {
      if (goesBefore(keyArray[mid]))
        high = mid - 1;
      else
        low = mid + 1;
      n = high - low + 1;
      mid = low + n / 2;
    }
    if (n == 1) {
      position = low + (goesBefore(keyArray[low]) ? 0 : 1);
    } else if (goesBefore(keyArray[low])) {
      position = low;
    } else {
      position = high + (goesBefore(keyArray[high]) ? 0 : 1);
    }
  }
  keyArray.Insert(static_cast<size_t>(position), key);
  valueArray.Insert(static_cast<size_t>(position), value);
}

bool rg_TavelkinPaiXuShuangZhengShuZuLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && &other == this;
}

int rg_TavelkinPaiXuShuangZhengShuZuLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinPaiXuShuangZhengShuZuLei, source)
  keyArray = src.keyArray;
  valueArray = src.valueArray;
  orderFlag = src.orderFlag;
  return 1;
}

void rg_TavelkinPaiXuShuangZhengShuZuLei::Reset() {
  keyArray.Empty();
  valueArray.Empty();
  orderFlag = 0;
}

void rg_TavelkinPaiXuShuangZhengShuZuLei::LoadFromStream(CQzuStream& stream) {
  keyArray.LoadFromStream(stream);
  valueArray.LoadFromStream(stream);
  int32_t flag;
  if (stream.ReadInt32(flag)) orderFlag = flag;
}

void rg_TavelkinPaiXuShuangZhengShuZuLei::SaveToStream(CQzuStream& stream) const {
  keyArray.SaveToStream(stream);
  valueArray.SaveToStream(stream);
  stream.WriteInt32(orderFlag);
}

}  // namespace rg_Tavelkin_MingLingJi

void SortRangePairs(rg_Ombrine_base::rg_ZhengShuShuZuLei& starts, rg_Ombrine_base::rg_ZhengShuShuZuLei& lengths) {
  if (starts.size() != lengths.size() || starts.IsEmpty()) return;
  rg_Tavelkin_MingLingJi::rg_TavelkinPaiXuShuangZhengShuZuLei sorter;
  sorter.SortPairsByKey(starts, lengths);

  std::vector<int32_t>& s = starts.Items();
  std::vector<int32_t>& l = lengths.Items();

  // Equal starts: keep the longest; the earlier one wins a tie.
  for (size_t i = s.size() - 1; i-- > 0;) {
    if (s[i] != s[i + 1]) continue;
    const size_t drop = l[i + 1] > l[i] ? i : i + 1;
    s.erase(s.begin() + static_cast<long>(drop));
    l.erase(l.begin() + static_cast<long>(drop));
  }

  // Merge ranges that overlap or touch the current one. Ends are computed in
  // 64 bits so that a huge length cannot wrap into a small end.
  std::vector<int32_t> outStarts;
  std::vector<int32_t> outLengths;
  outStarts.reserve(s.size());
  outLengths.reserve(s.size());
  int64_t currentEnd = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const int64_t end = static_cast<int64_t>(s[i]) + l[i];
    if (outStarts.empty() || s[i] > currentEnd) {
      outStarts.push_back(s[i]);
      outLengths.push_back(l[i]);
      currentEnd = end;
    } else if (end > currentEnd) {
      currentEnd = end;
      outLengths.back() = static_cast<int32_t>(currentEnd - outStarts.back());
    }
  }
  s = std::move(outStarts);
  l = std::move(outLengths);
}
