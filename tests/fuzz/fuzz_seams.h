// What the fuzz targets share: quiet platform seams that count the message
// boxes instead of showing them, and a check that stops the run as a crash.
#pragma once

namespace fuzz_seams {

// Message boxes shown since the last Reset.
int MessageBoxes();
void Reset();

// A broken promise of the code under test: libFuzzer reports it with the
// input that caused it.
inline void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace fuzz_seams
