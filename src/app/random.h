// The game's one pseudo-random generator. Tests seed it to replay a game exactly.
#pragma once

#include <cstdint>

// Seeds the generator from the clock.
void Randomize();
void RandSeed(uint32_t seed);
// A whole number from 0 to n - 1 (0 when n is not positive).
int32_t Random(int32_t n);
