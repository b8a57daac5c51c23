// lumvia-render: draws frames of a module into a headless GL context with
// the real sprite texture, render state and scene code, and writes the last
// frame as a PNG, the frames drawn as an animated GIF, or both.
//
//   lumvia-render --module N --frames F [--size WxH] [--out FILE.png]
//                 [--gif FILE.gif [--every K]]
//
// N is 1 to 10, or "all" for the ten modules in turn, F frames each; F is at
// least 1 (default 1), the size defaults to 640x480. Each module is shown as
// the saver shows it after loading the built-in settings: active, with its
// default view, SpinAngle restarted, and the random generator seeded with a
// fixed number, so that every run draws the same and a module drawn after
// others draws as it does alone. The GIF keeps every Kth frame drawn (frames
// K, 2K, ... of each module; default 1) and shows each for K times the
// saver's 30 ms between frames, so that it plays at the saver's speed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/frame_state.h"
#include "core/module_table.h"
#include "core/random.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "scenes/modules.h"
#include "tools/gif_io.h"
#include "tools/png_io.h"

namespace {

constexpr uint32_t kRandomSeed = 1;
constexpr int kMaxSide = 8192;
constexpr int kFrameCentiseconds = 3;  // the saver starts a frame every 30 ms
constexpr long kMaxEvery = 1000;       // keeps a GIF delay within its 16 bits

struct Options {
  int firstModule = 0;
  int lastModule = 0;
  long frames = 1;
  int width = 640;
  int height = 480;
  std::string out;
  std::string gif;
  long every = 1;
};

int Usage(const char* problem) {
  std::fprintf(stderr,
               "lumvia-render: %s\n"
               "usage: lumvia-render --module N --frames F [--size WxH] [--out FILE.png]\n"
               "                     [--gif FILE.gif [--every K]]\n"
               "  N: the module, 1 to 10, or all; F: frames to draw of each, the last is\n"
               "  written to the PNG (default 1); WxH: the picture size (default 640x480);\n"
               "  the GIF keeps every Kth frame (default 1), played at the saver's speed\n",
               problem);
  return 2;
}

// A whole decimal number within [low, high], nothing else.
bool ParseNumber(const char* text, long low, long high, long* value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  *value = v;
  return true;
}

bool ParseSize(const char* text, int* width, int* height) {
  if (!text) return false;
  const char* x = std::strchr(text, 'x');
  if (!x) return false;
  const std::string w(text, x);
  long wv = 0, hv = 0;
  if (!ParseNumber(w.c_str(), 1, kMaxSide, &wv) || !ParseNumber(x + 1, 1, kMaxSide, &hv))
    return false;
  *width = static_cast<int>(wv);
  *height = static_cast<int>(hv);
  return true;
}

// Returns 0 when the options are complete, else the exit code of the usage.
int ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long number = 0;
    if (arg == "--module") {
      if (value && std::strcmp(value, "all") == 0) {
        o.firstModule = 1;
        o.lastModule = kModuleCount;
      } else if (ParseNumber(value, 1, kModuleCount, &number)) {
        o.firstModule = o.lastModule = static_cast<int>(number);
      } else {
        return Usage("--module takes 1 to 10 or all");
      }
    } else if (arg == "--frames") {
      if (!ParseNumber(value, 1, 100000000, &number)) return Usage("--frames takes a count of 1 or more");
      o.frames = number;
    } else if (arg == "--size") {
      if (!ParseSize(value, &o.width, &o.height)) return Usage("--size takes WxH, for example 640x480");
    } else if (arg == "--out") {
      if (!value || !*value) return Usage("--out takes a file name");
      o.out = value;
    } else if (arg == "--gif") {
      if (!value || !*value) return Usage("--gif takes a file name");
      o.gif = value;
    } else if (arg == "--every") {
      if (!ParseNumber(value, 1, kMaxEvery, &number)) return Usage("--every takes 1 to 1000");
      o.every = number;
    } else {
      return Usage(("unknown argument " + arg).c_str());
    }
    ++i;
  }
  if (o.firstModule == 0) return Usage("--module is missing");
  if (o.out.empty() && o.gif.empty()) return Usage("--out or --gif is missing");
  if (!o.gif.empty() && o.frames < o.every) return Usage("--every is more than --frames: no frame to keep");
  return 0;
}

// The frame just drawn, rows from the top.
RgbImage CaptureFrame(int width, int height) {
  SwapFrameBuffers();
  const std::vector<uint8_t> rgba = ReadHeadlessPixels();
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t p = 0, n = rgba.size() / 4; p < n; ++p)
    std::memcpy(&image.rgb[p * 3], &rgba[p * 4], 3);
  return image;
}

// Shows the module from its start, as a fresh run of the saver would.
void StartModule(int module) {
  FrameState = {};
  SetBuiltInDefaults();
  CurrentModule = module;
  LoadModuleParams(module);
  SeedRandom(kRandomSeed);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int code = ParseOptions(argc, argv, o); code != 0) return code;

  SetHeadlessSize(o.width, o.height);
  if (!CreateGLContext(nullptr, kColourBits)) {
    std::fprintf(stderr, "lumvia-render: no OpenGL context could be made (EGL, Mesa surfaceless)\n");
    return 1;
  }
  bool drawn = true;
  std::vector<RgbImage> kept;
  for (int module = o.firstModule; module <= o.lastModule; ++module) {
    StartModule(module);
    bool last = false;
    for (long f = 1; f <= o.frames; ++f) {
      last = Modules[module].draw(SceneStates[module]);
      if (!o.gif.empty() && f % o.every == 0) kept.push_back(CaptureFrame(o.width, o.height));
    }
    if (!last) std::fprintf(stderr, "lumvia-render: the last frame of module %d reported a GL error\n", module);
    drawn = drawn && last;
  }
  const RgbImage picture = CaptureFrame(o.width, o.height);
  DestroyGLContext();

  std::string error;
  if (!o.out.empty() && !WritePng(o.out, picture, error)) {
    std::fprintf(stderr, "lumvia-render: cannot write %s: %s\n", o.out.c_str(), error.c_str());
    return 1;
  }
  if (!o.gif.empty() && !WriteGif(o.gif, kept, kFrameCentiseconds * static_cast<int>(o.every), error)) {
    std::fprintf(stderr, "lumvia-render: cannot write %s: %s\n", o.gif.c_str(), error.c_str());
    return 1;
  }
  return drawn ? 0 : 1;
}
