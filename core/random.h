// The process's one pseudo-random generator, the same on every platform:
// state = state * 214013 + 2531011 (mod 2^32); each draw yields bits 16 to 30.
// Its state is part of the frame state (core/frame_state.h).
#pragma once

#include <cstdint>

constexpr int kRandomMax = 32767;

void SeedRandom(uint32_t seed);
int DrawRandom();  // 0 to kRandomMax
