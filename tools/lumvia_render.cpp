// lumvia-render: draws frames of one module into a headless GL context with
// the real sprite texture, render state and scene code, and writes the last
// frame as a PNG.
//
//   lumvia-render --module N --frames F --size WxH --out FILE.png
//
// N is 1 to 10, F at least 1 (default 1), the size defaults to 640x480. The
// module is shown as the saver shows it after loading the built-in settings:
// active, with its default view, SpinAngle restarted, and the random
// generator seeded with a fixed number so that every run draws the same.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/module_table.h"
#include "core/random.h"
#include "render/gl.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "scenes/scenes.h"
#include "tools/png_io.h"

namespace {

constexpr uint32_t kRandomSeed = 1;
constexpr int kMaxSide = 8192;

struct Options {
  int module = 0;
  long frames = 1;
  int width = 640;
  int height = 480;
  std::string out;
};

int Usage(const char* problem) {
  std::fprintf(stderr,
               "lumvia-render: %s\n"
               "usage: lumvia-render --module N --frames F --size WxH --out FILE.png\n"
               "  N: the module, 1 to 10; F: frames to draw, the last is written (default 1);\n"
               "  WxH: the picture size (default 640x480)\n",
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
      if (!ParseNumber(value, 1, kModuleCount, &number)) return Usage("--module takes 1 to 10");
      o.module = static_cast<int>(number);
    } else if (arg == "--frames") {
      if (!ParseNumber(value, 1, 100000000, &number)) return Usage("--frames takes a count of 1 or more");
      o.frames = number;
    } else if (arg == "--size") {
      if (!ParseSize(value, &o.width, &o.height)) return Usage("--size takes WxH, for example 640x480");
    } else if (arg == "--out") {
      if (!value || !*value) return Usage("--out takes a file name");
      o.out = value;
    } else {
      return Usage(("unknown argument " + arg).c_str());
    }
    ++i;
  }
  if (o.module == 0) return Usage("--module is missing");
  if (o.out.empty()) return Usage("--out is missing");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int code = ParseOptions(argc, argv, o); code != 0) return code;

  SetBuiltInDefaults();
  CurrentModule = o.module;
  LoadModuleParams(o.module);
  SeedRandom(kRandomSeed);

  SetHeadlessSize(o.width, o.height);
  if (!CreateGLContext(nullptr, 32)) {
    std::fprintf(stderr, "lumvia-render: no OpenGL context could be made (EGL, Mesa surfaceless)\n");
    return 1;
  }
  bool drawn = false;
  for (long f = 0; f < o.frames; ++f) drawn = SceneFunctions[o.module]();
  if (!drawn) std::fprintf(stderr, "lumvia-render: the last frame reported a GL error\n");
  SwapFrameBuffers();

  const std::vector<uint8_t> rgba = ReadHeadlessPixels();
  RgbImage image;
  image.width = o.width;
  image.height = o.height;
  image.rgb.resize(static_cast<size_t>(o.width) * o.height * 3);
  for (size_t p = 0, n = rgba.size() / 4; p < n; ++p)
    std::memcpy(&image.rgb[p * 3], &rgba[p * 4], 3);
  DestroyGLContext();

  std::string error;
  if (!WritePng(o.out, image, error)) {
    std::fprintf(stderr, "lumvia-render: cannot write %s: %s\n", o.out.c_str(), error.c_str());
    return 1;
  }
  return drawn ? 0 : 1;
}
