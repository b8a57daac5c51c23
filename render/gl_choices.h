// What the GL contexts decide the same way on every platform: the score of a
// pixel format, the scan over the formats a device offers, and whether an
// extension string names an extension.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A pixel format as the device describes it. The flags and the pixel type
// carry the values of the Win32 descriptor's PFD_ bits.
struct PixelFormat {
  uint32_t flags = 0;
  uint8_t pixelType = 0;
  uint8_t colourBits = 0;
  uint8_t depthBits = 0;
  int samples = -1;  // per pixel when multisampled, 0 when not, -1 when the driver cannot say
};

constexpr uint32_t kFormatDoubleBuffer = 0x01;
constexpr uint32_t kFormatDrawToWindow = 0x04;
constexpr uint32_t kFormatSupportOpenGL = 0x20;
constexpr uint32_t kFormatGeneric = 0x40;  // drawn in software by the system
constexpr uint8_t kFormatTypeRgba = 0;

// The score of a format for the requested colour depth, 0 when unusable:
// accelerated beats generic, then a shallower depth buffer of at least 16
// bits beats a deeper one, then double buffering beats single.
unsigned ScorePixelFormat(const PixelFormat& format, int colourBits);

// Scans formats count down to 1 and returns the best scoring one, or `chosen`
// (the system's own choice) when none scores above 0. Among the formats of
// the top score one without multisampling wins, as it is the cheapest to
// draw into, then the highest-numbered one. describe(i, &format) fills
// format i and returns false when it cannot.
template <typename Describe>
int ScanPixelFormats(int chosen, int count, int colourBits, Describe describe) {
  int best = chosen;
  unsigned bestScore = 0;
  bool bestSingleSampled = false;
  for (int i = count; i >= 1; --i) {
    PixelFormat format;
    if (!describe(i, &format)) continue;
    const unsigned score = ScorePixelFormat(format, colourBits);
    const bool singleSampled = format.samples == 0;
    if (score > bestScore ||
        (score > 0 && score == bestScore && singleSampled && !bestSingleSampled)) {
      bestScore = score;
      bestSingleSampled = singleSampled;
      best = i;
    }
  }
  return best;
}

// The samples per pixel of a device's formats 1 to count (format i at i - 1):
// ask(i, &samples) is put to the driver for its own formats alone, 1 to
// driverCount (the system may describe formats of its own after them, which
// the driver knows nothing of), and a format it does not answer for counts as
// unknown (-1) on its own.
template <typename Ask>
std::vector<int> SampleCountsOf(int count, int driverCount, Ask ask) {
  std::vector<int> samples(static_cast<size_t>(count > 0 ? count : 0), -1);
  for (int i = 1; i <= count && i <= driverCount; ++i) {
    int value = 0;
    if (ask(i, &value)) samples[static_cast<size_t>(i - 1)] = value;
  }
  return samples;
}

// Whether the blank-separated list names the extension (a whole name, so
// "GLX_EXT_swap_control_tear" does not name "GLX_EXT_swap_control").
bool HasExtension(const char* list, const char* name);
