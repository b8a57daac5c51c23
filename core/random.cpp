// The linear congruential generator that scenes draw from.
#include "core/random.h"

#include "core/frame_state.h"

void SeedRandom(uint32_t seed) { FrameState.RandomState = seed; }

int DrawRandom() {
  uint32_t& state = FrameState.RandomState;
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}
