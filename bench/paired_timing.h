#pragma once
// What the benchmarks that run ours and its floor by turns share: the time
// of one run, and the median of the runs of one side.
#include <algorithm>
#include <chrono>
#include <vector>

namespace qzu_bench {

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <class Work>
double Milliseconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace qzu_bench
