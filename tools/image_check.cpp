// lumvia-image-check: compares a rendered PNG with its reference picture.
//
//   lumvia-image-check ACTUAL.png REFERENCE.png
//
// The two must have the same size, and at most 1 % of the pixels may differ
// by more than 48 in any channel, so that small rasterisation differences
// between Mesa versions pass while a moved or missing object fails. The
// picture must also show the scene: some pixels in the sprite's dark red and
// a black background, never a blank frame.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/png_io.h"

namespace {

constexpr int kChannelTolerance = 48;
constexpr double kDifferingShare = 0.01;
constexpr double kMinSpriteShare = 0.005;
constexpr double kMinBlackShare = 0.2;

bool IsSpriteRed(const uint8_t* p) { return p[0] >= 24 && p[0] > 2 * p[1] && p[0] > 2 * p[2]; }
bool IsBlack(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lumvia-image-check ACTUAL.png REFERENCE.png\n");
    return 2;
  }
  RgbImage actual, reference;
  std::string error;
  if (!ReadPng(argv[1], actual, error) || !ReadPng(argv[2], reference, error)) {
    std::fprintf(stderr, "lumvia-image-check: %s\n", error.c_str());
    return 1;
  }
  if (actual.width != reference.width || actual.height != reference.height) {
    std::fprintf(stderr, "lumvia-image-check: %dx%d, the reference is %dx%d\n", actual.width,
                 actual.height, reference.width, reference.height);
    return 1;
  }
  const size_t pixels = static_cast<size_t>(actual.width) * actual.height;
  size_t differing = 0, sprite = 0, black = 0;
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
  }
  const double n = static_cast<double>(pixels);
  std::printf("%zu of %zu pixels differ; %.1f %% sprite red, %.1f %% black\n", differing, pixels,
              100.0 * sprite / n, 100.0 * black / n);
  bool ok = true;
  if (differing > kDifferingShare * n) {
    std::fprintf(stderr, "lumvia-image-check: %s differs from %s\n", argv[1], argv[2]);
    ok = false;
  }
  if (sprite < kMinSpriteShare * n || black < kMinBlackShare * n) {
    std::fprintf(stderr, "lumvia-image-check: %s does not show sprites on black\n", argv[1]);
    ok = false;
  }
  return ok ? 0 : 1;
}
