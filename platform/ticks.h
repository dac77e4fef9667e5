#pragma once
// Milliseconds since an arbitrary start (a monotonic clock), and sleeping.
#include <cstdint>

// Wraps around every 2^32 ms (about 49.7 days), as the Windows tick does.
uint32_t GetTickCount();
uint64_t GetTickCount64();
void SleepMilliseconds(uint32_t ms);
