#include "platform/random_seed.h"

#include <atomic>
#include <cstdlib>

#include "platform/ticks.h"

namespace {
std::atomic<bool> g_seeded{false};
}

void EnsureRandomSeeded() {
  if (!g_seeded.exchange(true)) std::srand(GetTickCount());
}

void SeedRandom(unsigned seed) {
  std::srand(seed);
  g_seeded = true;
}

bool IsRandomSeeded() { return g_seeded.load(); }
