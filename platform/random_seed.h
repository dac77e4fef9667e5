#pragma once
// The standard generator (srand/rand) behind one process-wide "seeded" flag:
// a user that needs random numbers and finds the flag clear seeds with the
// tick count and sets the flag.

// Seeds with GetTickCount() unless already seeded.
void EnsureRandomSeeded();
// Seeds unconditionally and sets the flag (tests use fixed seeds).
void SeedRandom(unsigned seed);
bool IsRandomSeeded();
