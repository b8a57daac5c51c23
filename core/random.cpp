// The linear congruential generator that scenes draw from.
#include "core/random.h"

namespace {
uint32_t RandomState = 1;
}

void SeedRandom(uint32_t seed) { RandomState = seed; }

uint32_t RandomGeneratorState() { return RandomState; }

int DrawRandom() {
  RandomState = RandomState * 214013u + 2531011u;
  return static_cast<int>((RandomState >> 16) & 0x7FFFu);
}
