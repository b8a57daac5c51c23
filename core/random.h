// The process's one pseudo-random generator, the same on every platform:
// state = state * 214013 + 2531011 (mod 2^32); each draw yields bits 16 to 30.
#pragma once

#include <cstdint>

constexpr int kRandomMax = 32767;

void SeedRandom(uint32_t seed);
int DrawRandom();  // 0 to kRandomMax
// The generator's state: SeedRandom with it continues the same sequence.
uint32_t RandomGeneratorState();
