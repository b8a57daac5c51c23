// lumvia-image-check: compares a rendered PNG with its reference picture.
//
//   lumvia-image-check ACTUAL.png REFERENCE.png
//   lumvia-image-check --frame K ACTUAL.gif REFERENCE.png
//
// The second form compares frame K (from 1) of an animated GIF, after saying
// how many frames it has, their size and their delay; there, every pixel that
// is black in the reference must be black in the frame as well (the palette
// may move a colour a little, but never puts noise on the background).
//
// The two must have the same size, and at most 1 % of the pixels may differ
// by more than 48 in any channel, so that small rasterisation differences
// between Mesa versions pass while a moved or missing object fails. The
// picture must also show the scene: some pixels in the sprite's dark red and
// a black background, never a blank frame.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/gif_io.h"
#include "tools/png_io.h"

namespace {

constexpr int kChannelTolerance = 48;
constexpr double kDifferingShare = 0.01;
constexpr double kMinSpriteShare = 0.005;
constexpr double kMinBlackShare = 0.2;

bool IsSpriteRed(const uint8_t* p) { return p[0] >= 24 && p[0] > 2 * p[1] && p[0] > 2 * p[2]; }
bool IsBlack(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

// Frame K (from 1) of the GIF, after printing what the animation holds.
bool ReadGifFrame(const char* path, long frame, RgbImage& image, std::string& error) {
  std::vector<RgbImage> frames;
  int delay = 0;
  if (!ReadGif(path, frames, &delay, error)) return false;
  if (!frames.empty())
    std::printf("%s: %zu frames of %dx%d, %d/100 s each\n", path, frames.size(), frames[0].width,
                frames[0].height, delay);
  if (frame < 1 || static_cast<size_t>(frame) > frames.size()) {
    error = std::string(path) + " has no frame " + std::to_string(frame);
    return false;
  }
  image = frames[static_cast<size_t>(frame) - 1];
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long frame = 0;  // 0: the actual picture is a PNG
  if (argc == 5 && std::string(argv[1]) == "--frame") {
    frame = std::strtol(argv[2], nullptr, 10);
    argv += 2;
    argc -= 2;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: lumvia-image-check [--frame K] ACTUAL REFERENCE.png\n");
    return 2;
  }
  RgbImage actual, reference;
  std::string error;
  const bool read = frame ? ReadGifFrame(argv[1], frame, actual, error) : ReadPng(argv[1], actual, error);
  if (!read || !ReadPng(argv[2], reference, error)) {
    std::fprintf(stderr, "lumvia-image-check: %s\n", error.c_str());
    return 1;
  }
  if (actual.width != reference.width || actual.height != reference.height) {
    std::fprintf(stderr, "lumvia-image-check: %dx%d, the reference is %dx%d\n", actual.width,
                 actual.height, reference.width, reference.height);
    return 1;
  }
  const size_t pixels = static_cast<size_t>(actual.width) * actual.height;
  size_t differing = 0, sprite = 0, black = 0, blackLost = 0;
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* a = &actual.rgb[i * 3];
    const uint8_t* r = &reference.rgb[i * 3];
    for (int c = 0; c < 3; ++c)
      if (std::abs(a[c] - r[c]) > kChannelTolerance) {
        ++differing;
        break;
      }
    sprite += IsSpriteRed(a);
    black += IsBlack(a);
    blackLost += IsBlack(r) && !IsBlack(a);
  }
  const double n = static_cast<double>(pixels);
  std::printf("%zu of %zu pixels differ; %.1f %% sprite red, %.1f %% black\n", differing, pixels,
              100.0 * sprite / n, 100.0 * black / n);
  bool ok = true;
  if (differing > kDifferingShare * n) {
    std::fprintf(stderr, "lumvia-image-check: %s differs from %s\n", argv[1], argv[2]);
    ok = false;
  }
  if (frame && blackLost > 0) {
    std::fprintf(stderr, "lumvia-image-check: %zu pixels black in %s are not black in %s\n",
                 blackLost, argv[2], argv[1]);
    ok = false;
  }
  if (sprite < kMinSpriteShare * n || black < kMinBlackShare * n) {
    std::fprintf(stderr, "lumvia-image-check: %s does not show sprites on black\n", argv[1]);
    ok = false;
  }
  return ok ? 0 : 1;
}
