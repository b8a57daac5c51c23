// The pixel-format choice of the Windows GL context (gl_context_win32.cpp),
// declared for the tests that check it.
#pragma once

#include <windows.h>

// The score of a format for the requested colour depth, 0 when unusable:
// accelerated beats generic, then a shallower depth buffer of at least 16
// bits beats a deeper one, then double buffering beats single.
unsigned ScorePixelFormat(const PIXELFORMATDESCRIPTOR& format, int colourBits);

// Scans formats count down to 1 and returns the best scoring one, or `chosen`
// (ChoosePixelFormat's answer) when none scores above 0. Equal top scores go
// to the highest-numbered format. describe(i, &format) fills format i and
// returns false when it cannot.
template <typename Describe>
int ScanPixelFormats(int chosen, int count, int colourBits, Describe describe) {
  int best = chosen;
  unsigned bestScore = 0;
  for (int i = count; i >= 1; --i) {
    PIXELFORMATDESCRIPTOR format{};
    if (!describe(i, &format)) continue;
    const unsigned score = ScorePixelFormat(format, colourBits);
    if (score > bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

// The pixel format CreateGLContext sets on the device context, 0 for none.
int SelectPixelFormat(HDC deviceContext, int colourBits);

// The device context of the current GL context, or none.
HDC GLDeviceContext();
