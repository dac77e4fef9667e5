#include "common/dpi.h"

#include <atomic>

namespace {
std::atomic<double> g_factor{1.0};
}

double GetDpiFactor() { return g_factor.load(std::memory_order_relaxed); }

void SetDpiFactor(double factor) { g_factor.store(factor < 1.0 ? 1.0 : factor, std::memory_order_relaxed); }

double DpiFactorFor(double dpi) {
  const double f = dpi / 96.0;
  return f < 1.0 ? 1.0 : f;
}

int ScaleByDpiFactor(int value) { return static_cast<int>(value * GetDpiFactor() + 0.5); }

int ScaleForDpi(int value) { return static_cast<int>(value * GetDpiFactor()); }
