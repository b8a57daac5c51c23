// Decoding the sprite TGA and turning it into the sprite texture.
//
// Uncompressed (type 2) images that pass the header check are decoded too,
// raw pixels in file order with the same byte swap. Data that ends before
// width × height pixels are decoded is refused without reading past its end,
// and before anything is allocated when it is too short to hold them at all.
#include "render/texture.h"

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

TextureImage Textures[kTextureSlots];

namespace {

constexpr size_t kHeaderSize = 12;  // compared as a whole with the templates
constexpr size_t kImageSpecSize = 6;  // width, height, depth, descriptor
constexpr uint8_t kUncompressedHeader[kHeaderSize] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kCompressedHeader[kHeaderSize] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

void Fail(const char* text, const char* caption = "ERROR") {
  ShowMessageBox(nullptr, text, caption, kMbOk);
}

void Release(TextureImage& image) {
  std::free(image.imageData);
  image.imageData = nullptr;
}

// Copies one pixel, stored blue, green, red (, alpha), as red, green, blue (, alpha).
inline void PutPixel(uint8_t* out, const uint8_t* in, uint32_t bytes) {
  out[0] = in[2];
  out[1] = in[1];
  out[2] = in[0];
  if (bytes == 4) out[3] = in[3];
}

enum class Layout { Raw, RunLength };

// The largest image decoded: 64 MiB of pixels (the sprite has 4 MiB).
constexpr uint64_t kMaxImageBytes = uint64_t{64} << 20;

// The fewest data bytes that can hold the pixels: all of them raw, or one run
// packet for every 128 of them.
uint64_t FewestDataBytes(uint64_t pixels, uint32_t bytes, Layout layout) {
  if (layout == Layout::Raw) return pixels * bytes;
  return (pixels + 127) / 128 * (1 + bytes);
}

// Reads width, height and depth and decodes the pixels that follow it.
bool DecodePixels(TextureImage& image, const uint8_t* data, size_t size, Layout layout) {
  if (size < kImageSpecSize) {
    Fail("Image data ends before its pixels");
    return false;
  }
  image.width = data[0] + 256u * data[1];
  image.height = data[2] + 256u * data[3];
  image.bpp = data[4];
  if (image.width == 0 || image.height == 0 || (image.bpp != 24 && image.bpp != 32)) {
    Fail("Invalid texture information");
    return false;
  }
  image.type = image.bpp == 24 ? GL_RGB : GL_RGBA;
  const uint32_t bytes = image.bpp / 8;
  // Worked out in 64 bits, where 65535 × 65535 × 4 cannot overflow; a 32-bit
  // size_t would wrap, and a small buffer be filled past its end. Nothing is
  // allocated before the data is known to be able to fill the image.
  const uint64_t pixels = uint64_t{image.width} * image.height;
  if (size - kImageSpecSize < FewestDataBytes(pixels, bytes, layout)) {
    Fail("Image data ends before its pixels");
    return false;
  }
  if (pixels * bytes > kMaxImageBytes) {
    Fail("Could not allocate memory for image");
    return false;
  }
  const size_t pixelCount = static_cast<size_t>(pixels);

  image.imageData = static_cast<uint8_t*>(std::malloc(bytes * pixelCount));
  if (!image.imageData) {
    Fail("Could not allocate memory for image");
    return false;
  }

  const uint8_t* in = data + kImageSpecSize;
  const uint8_t* const end = data + size;
  uint8_t* out = image.imageData;
  size_t decoded = 0;
  while (decoded < pixelCount) {
    size_t count = 1;
    bool run = false;
    if (layout == Layout::RunLength) {
      if (in == end) break;
      const uint8_t header = *in++;
      run = header >= 128;
      count = run ? header - 127u : header + 1u;
      if (count > pixelCount - decoded) {
        Fail("Too many pixels read");
        Release(image);
        return false;
      }
    }
    const size_t needed = run ? bytes : count * bytes;
    if (static_cast<size_t>(end - in) < needed) break;
    for (size_t i = 0; i < count; ++i, out += bytes) PutPixel(out, run ? in : in + i * bytes, bytes);
    in += needed;
    decoded += count;
  }
  if (decoded < pixelCount) {
    Fail("Image data ends before its pixels");
    Release(image);
    return false;
  }
  return true;
}

}  // namespace

bool DecodeRLETGA(TextureImage& image, const uint8_t* data, size_t size) {
  return DecodePixels(image, data, size, Layout::RunLength);
}

bool LoadTGAFromMemory(TextureImage& image, const uint8_t* data, size_t size) {
  if (size >= kHeaderSize && std::memcmp(data, kCompressedHeader, kHeaderSize) == 0)
    return DecodeRLETGA(image, data + kHeaderSize, size - kHeaderSize);
  if (size >= kHeaderSize && std::memcmp(data, kUncompressedHeader, kHeaderSize) == 0)
    return DecodePixels(image, data + kHeaderSize, size - kHeaderSize, Layout::Raw);
  Fail("TGA file be type 2 or type 10", "Invalid Image");
  return false;
}

bool LoadTextureResource(uint16_t id, int slot) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!FindResourceBytes(id, "TGA", &data, &size) || !data || size == 0) {
    Fail("Could not locate image resource");
    return false;
  }
  TextureImage& image = Textures[slot];
  if (!LoadTGAFromMemory(image, data, size)) return false;

  glGenTextures(1, &image.texID);
  glBindTexture(GL_TEXTURE_2D, image.texID);
  gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(image.type), static_cast<GLint>(image.width),
                    static_cast<GLint>(image.height), image.type, GL_UNSIGNED_BYTE, image.imageData);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  Release(image);
  return true;
}
