// Writes the sprite texture, resources/sprite.tga: a run-length encoded
// true-colour TGA of 1024 × 1024 texels at 32 bits holding four identical
// dark-red sprites side by side, every other texel fully transparent.
//
// The sprite is a flame with a heart cut out of its round base and the
// outline of a small flame engraved above it. Wrapped once around a tube or a sphere (the s axis
// goes around), the four flames stand around the object. Rows are stored from
// the bottom of the sprite up: the first row stored is t = 0, the base of a
// tube, so the flame points towards the far end of the tube.
//
// Usage: make_sprite OUTPUT.tga
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 1024;
constexpr int kSpriteWidth = 234;
constexpr int kSpriteHeight = 449;
constexpr int kSpriteColumns[4] = {8, 266, 523, 780};
constexpr int kSpriteFirstRow = 288;
constexpr int kSamples = 4;  // per texel and axis, for soft edges

// The flame's outline, in sprite units: u from −1 (left) to 1 (right),
// v from 0 (base) to 1 (tip). The base is half an ellipse up to kBulbTop,
// above it the flame narrows smoothly to its tip.
constexpr double kBulbTop = 0.36;

double HalfWidth(double v) {
  if (v <= 0.0 || v >= 1.0) return 0.0;
  if (v < kBulbTop) {
    const double d = (v - kBulbTop) / kBulbTop;
    return std::sqrt(std::max(0.0, 1.0 - d * d));
  }
  const double t = (v - kBulbTop) / (1.0 - kBulbTop);
  // A slight waist a third of the way up gives the flame its flicker.
  return std::pow(1.0 - t * t, 1.3) * (1.0 - 0.12 * std::sin(t * 3.14159265358979));
}

bool InFlame(double u, double v) { return std::fabs(u) < HalfWidth(v); }

// The heart in the round base: two lobes and a point, upside up.
bool InHeart(double u, double v) {
  const double x = u / 0.42;
  const double y = (v - 0.19) / 0.16;
  const double a = x * x + y * y - 1.0;
  return a * a * a - x * x * y * y * y < 0.0;
}

// The groove: the outline of a small flame inside the upper part, the band
// between two concentric copies of the outline.
bool InSmallFlame(double u, double v, double scale) {
  const double centre = 0.67;  // the small flame's middle height
  return InFlame(u / scale, (v - centre) / scale + 0.5);
}

bool InGroove(double u, double v) { return InSmallFlame(u, v, 0.5) && !InSmallFlame(u, v, 0.44); }

// The shade of the dark red at a point of the flame: lighter towards the
// middle and the base, darker at the sides and the tip, darker in the groove.
void Shade(double u, double v, bool groove, uint8_t rgb[3]) {
  double light = 0.78 + 0.22 * std::cos(u * 1.2) - 0.18 * v;
  if (groove) light *= 0.62;
  const double r = 150.0 * light, g = 18.0 * light, b = 26.0 * light;
  rgb[0] = static_cast<uint8_t>(std::lround(std::clamp(r, 0.0, 255.0)));
  rgb[1] = static_cast<uint8_t>(std::lround(std::clamp(g, 0.0, 255.0)));
  rgb[2] = static_cast<uint8_t>(std::lround(std::clamp(b, 0.0, 255.0)));
}

struct Texel {
  uint8_t b, g, r, a;  // the order TGA stores them
  bool operator==(const Texel&) const = default;
};

// One sprite, row 0 at its base.
std::vector<Texel> DrawSprite() {
  std::vector<Texel> sprite(static_cast<size_t>(kSpriteWidth) * kSpriteHeight);
  for (int row = 0; row < kSpriteHeight; ++row)
    for (int col = 0; col < kSpriteWidth; ++col) {
      int covered = 0, grooved = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const double u = ((col + (sx + 0.5) / kSamples) / kSpriteWidth) * 2.0 - 1.0;
          const double v = (row + (sy + 0.5) / kSamples) / kSpriteHeight;
          if (!InFlame(u, v) || InHeart(u, v)) continue;
          ++covered;
          grooved += InGroove(u, v) ? 1 : 0;
        }
      Texel& t = sprite[static_cast<size_t>(row) * kSpriteWidth + col];
      if (covered == 0) {
        t = {0, 0, 0, 0};
        continue;
      }
      const double u = ((col + 0.5) / kSpriteWidth) * 2.0 - 1.0;
      const double v = (row + 0.5) / kSpriteHeight;
      uint8_t rgb[3];
      Shade(u, v, grooved * 2 > covered, rgb);
      const int alpha = (covered * 255 + kSamples * kSamples / 2) / (kSamples * kSamples);
      t = {rgb[2], rgb[1], rgb[0], static_cast<uint8_t>(alpha)};
    }
  return sprite;
}

std::vector<Texel> DrawAtlas() {
  std::vector<Texel> atlas(static_cast<size_t>(kSize) * kSize, Texel{0, 0, 0, 0});
  const std::vector<Texel> sprite = DrawSprite();
  for (int left : kSpriteColumns)
    for (int row = 0; row < kSpriteHeight; ++row)
      std::copy_n(sprite.begin() + static_cast<std::ptrdiff_t>(row) * kSpriteWidth, kSpriteWidth,
                  atlas.begin() + static_cast<std::ptrdiff_t>(kSpriteFirstRow + row) * kSize + left);
  return atlas;
}

void PutTexel(std::vector<uint8_t>& out, const Texel& t) {
  out.insert(out.end(), {t.b, t.g, t.r, t.a});
}

// Run packets for two or more equal texels, raw packets for the rest; no
// packet crosses the end of a row.
void EncodeRow(std::vector<uint8_t>& out, const Texel* row) {
  int i = 0;
  while (i < kSize) {
    int run = 1;
    while (i + run < kSize && run < 128 && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      PutTexel(out, row[i]);
      i += run;
      continue;
    }
    int raw = 1;
    while (i + raw < kSize && raw < 128 &&
           !(i + raw + 1 < kSize && row[i + raw] == row[i + raw + 1]))
      ++raw;
    out.push_back(static_cast<uint8_t>(raw - 1));
    for (int k = 0; k < raw; ++k) PutTexel(out, row[i + k]);
    i += raw;
  }
}

std::vector<uint8_t> EncodeTGA(const std::vector<Texel>& atlas) {
  std::vector<uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              kSize & 0xFF, kSize >> 8, kSize & 0xFF, kSize >> 8,
                              32, 0x08};
  for (int row = 0; row < kSize; ++row) EncodeRow(out, atlas.data() + static_cast<size_t>(row) * kSize);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sprite OUTPUT.tga\n");
    return 2;
  }
  const std::vector<uint8_t> file = EncodeTGA(DrawAtlas());
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  if (std::fclose(f) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
