// The TGA loader on crafted byte strings and on the real sprite resource:
// packets, the byte swap, refusals with their messages, data that ends early,
// and the artwork's layout.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "render/texture.h"
#include "tests/unit/test_seams.h"

namespace {

// A TGA file in a heap block of exactly its size, so that AddressSanitizer
// catches any read past its end.
class TgaBytes {
 public:
  TgaBytes(uint8_t type, uint16_t width, uint16_t height, uint8_t depth) {
    bytes_ = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0,
              static_cast<uint8_t>(width & 0xFF), static_cast<uint8_t>(width >> 8),
              static_cast<uint8_t>(height & 0xFF), static_cast<uint8_t>(height >> 8),
              depth, 0x08};
  }
  TgaBytes& Add(std::initializer_list<uint8_t> more) {
    bytes_.insert(bytes_.end(), more);
    return *this;
  }
  TgaBytes& Repeat(size_t times, std::initializer_list<uint8_t> pixel) {
    for (size_t i = 0; i < times; ++i) Add(pixel);
    return *this;
  }
  // Run packets of 128 pixels (the last one shorter) for that many pixels.
  TgaBytes& Runs(uint64_t pixels, size_t pixelBytes) {
    const size_t packet = 1 + pixelBytes;
    size_t at = bytes_.size();
    bytes_.resize(at + static_cast<size_t>((pixels + 127) / 128) * packet, 0x40);
    for (; pixels > 0; at += packet, pixels -= std::min<uint64_t>(pixels, 128))
      bytes_[at] = static_cast<uint8_t>(127 + std::min<uint64_t>(pixels, 128));
    return *this;
  }
  uint8_t& operator[](size_t i) { return bytes_[i]; }
  size_t size() const { return bytes_.size(); }
  // Decodes the first `size` bytes (all by default) into image.
  bool Load(TextureImage& image, size_t size = SIZE_MAX) {
    size = std::min(size, bytes_.size());
    const auto exact = std::make_unique<uint8_t[]>(size);
    std::memcpy(exact.get(), bytes_.data(), size);
    return LoadTGAFromMemory(image, exact.get(), size);
  }

 private:
  std::vector<uint8_t> bytes_;
};

class TextureTest : public ::testing::Test {
 protected:
  void SetUp() override { test_seams::Reset(); }
  void TearDown() override { std::free(image_.imageData); }

  void ExpectOneMessage(const char* text, const char* caption = "ERROR") {
    const auto& boxes = test_seams::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].flags, kMbOk);
  }
  const uint8_t* Texel(size_t index) const { return image_.imageData + index * (image_.bpp / 8); }

  TextureImage image_{};
};

TEST_F(TextureTest, RawAndRunPacketsOfOneAndOf128Pixels) {
  TgaBytes tga(10, 1 + 128 + 1 + 128, 1, 32);
  tga.Add({0x00, 1, 2, 3, 4});                 // raw, 1 pixel
  tga.Add({0x7F});                              // raw, 128 pixels
  for (int i = 0; i < 128; ++i) tga.Add({static_cast<uint8_t>(i), 0, 0, 255});
  tga.Add({0x80, 5, 6, 7, 8});                  // run, 1 pixel
  tga.Add({0xFF, 9, 10, 11, 12});               // run, 128 pixels
  ASSERT_TRUE(tga.Load(image_));
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
  EXPECT_EQ(image_.width, 258u);
  EXPECT_EQ(image_.height, 1u);
  EXPECT_EQ(std::vector<uint8_t>(Texel(0), Texel(1)), (std::vector<uint8_t>{3, 2, 1, 4}));
  for (int i = 0; i < 128; ++i) EXPECT_EQ(Texel(1 + i)[2], i) << i;
  EXPECT_EQ(std::vector<uint8_t>(Texel(129), Texel(130)), (std::vector<uint8_t>{7, 6, 5, 8}));
  for (int i = 130; i < 258; ++i)
    EXPECT_EQ(std::vector<uint8_t>(Texel(i), Texel(i + 1)), (std::vector<uint8_t>{11, 10, 9, 12}));
}

TEST_F(TextureTest, PixelsAreSwappedFromBlueGreenRedToRedGreenBlue) {
  TgaBytes rgba(10, 1, 1, 32);
  rgba.Add({0x00, 0x10, 0x20, 0x30, 0x40});
  ASSERT_TRUE(rgba.Load(image_));
  EXPECT_EQ(image_.type, static_cast<GLenum>(GL_RGBA));
  EXPECT_EQ(image_.bpp, 32u);
  EXPECT_EQ(std::vector<uint8_t>(Texel(0), Texel(1)), (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x40}));
  std::free(image_.imageData);
  image_ = {};

  // 24 bits: GL_RGB and three bytes per texel, a run of two then a raw pixel.
  TgaBytes rgb(10, 3, 1, 24);
  rgb.Add({0x81, 0x10, 0x20, 0x30, 0x00, 0x01, 0x02, 0x03});
  ASSERT_TRUE(rgb.Load(image_));
  EXPECT_EQ(image_.type, static_cast<GLenum>(GL_RGB));
  EXPECT_EQ(image_.bpp, 24u);
  EXPECT_EQ(std::vector<uint8_t>(image_.imageData, image_.imageData + 9),
            (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0x03, 0x02, 0x01}));
}

TEST_F(TextureTest, UncompressedImagesAreDecodedWithTheSameSwap) {
  TgaBytes tga(2, 2, 1, 32);
  tga.Add({1, 2, 3, 4, 5, 6, 7, 8});
  ASSERT_TRUE(tga.Load(image_));
  EXPECT_EQ(std::vector<uint8_t>(image_.imageData, image_.imageData + 8),
            (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST_F(TextureTest, HeadersOtherThanTheTwoTemplatesAreRefused) {
  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
  };
  for (const Case& c : {Case{"grey image", 2, 3}, Case{"ID length", 0, 1},
                        Case{"colour map", 1, 1}, Case{"colour-map fields", 5, 8},
                        Case{"x origin", 8, 1}, Case{"RLE colour-mapped", 2, 9}}) {
    SCOPED_TRACE(c.what);
    test_seams::Reset();
    TgaBytes tga(10, 1, 1, 32);
    tga.Add({0x00, 1, 2, 3, 4});
    tga[c.offset] = c.value;
    TextureImage image{};
    EXPECT_FALSE(tga.Load(image));
    EXPECT_EQ(image.imageData, nullptr);
    ExpectOneMessage("TGA file be type 2 or type 10", "Invalid Image");
  }
  test_seams::Reset();
  TgaBytes tooShort(10, 1, 1, 32);
  EXPECT_FALSE(tooShort.Load(image_, 11));
  ExpectOneMessage("TGA file be type 2 or type 10", "Invalid Image");
}

TEST_F(TextureTest, UnusableSizesAndDepthsAreInvalidTextureInformation) {
  for (auto [width, height, depth] : {std::tuple{1, 1, 16}, std::tuple{1, 1, 8},
                                      std::tuple{0, 1, 32}, std::tuple{1, 0, 24}}) {
    SCOPED_TRACE(testing::Message() << width << "x" << height << "x" << depth);
    test_seams::Reset();
    TgaBytes tga(10, static_cast<uint16_t>(width), static_cast<uint16_t>(height),
                 static_cast<uint8_t>(depth));
    tga.Add({0x00, 1, 2, 3, 4});
    TextureImage image{};
    EXPECT_FALSE(tga.Load(image));
    EXPECT_EQ(image.imageData, nullptr);
    ExpectOneMessage("Invalid texture information");
  }
}

TEST_F(TextureTest, APacketReachingPastTheLastPixelIsRefused) {
  // Four pixels; a run of three, then a raw packet of two.
  TgaBytes tga(10, 2, 2, 32);
  tga.Add({0x82, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12});
  EXPECT_FALSE(tga.Load(image_));
  EXPECT_EQ(image_.imageData, nullptr);
  ExpectOneMessage("Too many pixels read");

  test_seams::Reset();
  TgaBytes run(10, 2, 2, 32);
  run.Add({0x84, 1, 2, 3, 4});  // a run of five
  EXPECT_FALSE(run.Load(image_));
  ExpectOneMessage("Too many pixels read");
}

TEST_F(TextureTest, DataEndingBeforeItsPixelsIsRefusedWithoutReadingPastIt) {
  TgaBytes tga(10, 4, 1, 32);
  tga.Add({0x81, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12});
  ASSERT_TRUE(tga.Load(image_));
  std::free(image_.imageData);
  image_ = {};
  // Every shorter prefix ends inside the header, a packet header or a pixel.
  for (size_t size = 12; size < tga.size(); ++size) {
    SCOPED_TRACE(size);
    test_seams::Reset();
    TextureImage image{};
    EXPECT_FALSE(tga.Load(image, size));
    EXPECT_EQ(image.imageData, nullptr);
    ExpectOneMessage("Image data ends before its pixels");
  }
  // The same for uncompressed data.
  TgaBytes raw(2, 2, 1, 24);
  raw.Add({1, 2, 3, 4, 5});
  test_seams::Reset();
  EXPECT_FALSE(raw.Load(image_));
  ExpectOneMessage("Image data ends before its pixels");
}

// The decoder once asked for width × height × bytes before it looked at the
// data: 17 GB for an 18-byte header. Now the data must be able to hold the
// pixels (all raw, or the fewest run packets) and the image be at most 64 MiB
// before a buffer is asked for. The sizes are worked out in 64 bits: 32768 ×
// 32768 at 32 bits is 2^32 bytes, which a 32-bit product wraps to 0.
TEST_F(TextureTest, ImagesTheDataOrTheMemoryCannotHoldAreRefusedBeforeAllocating) {
  struct Case {
    const char* what;
    TgaBytes tga;
    const char* message;
  };
  Case cases[] = {
      {"a bare type-10 header of 65535 x 65535", TgaBytes(10, 65535, 65535, 32),
       "Image data ends before its pixels"},
      {"type 2, 65535 x 65535 with a few pixels", TgaBytes(2, 65535, 65535, 24).Repeat(100, {1, 2, 3}),
       "Image data ends before its pixels"},
      {"one run packet short", TgaBytes(10, 4096, 4096, 32).Runs(4096 * 4095, 4),
       "Image data ends before its pixels"},
      {"a row over 64 MiB", TgaBytes(10, 4096, 4097, 32).Runs(4096 * 4097, 4),
       "Could not allocate memory for image"},
      {"2^32 bytes", TgaBytes(10, 32768, 32768, 32).Runs(uint64_t{1} << 30, 4),
       "Could not allocate memory for image"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    test_seams::Reset();
    TextureImage image{};
    EXPECT_FALSE(c.tga.Load(image));
    EXPECT_EQ(image.imageData, nullptr);
    ExpectOneMessage(c.message);
  }
  // 64 MiB itself is decoded.
  test_seams::Reset();
  ASSERT_TRUE(TgaBytes(10, 4096, 4096, 32).Runs(4096 * 4096, 4).Load(image_));
  EXPECT_EQ(Texel(4096 * 4096 - 1)[3], 0x40);
}

// Thousands of damaged copies of a small valid image (bytes changed, data cut
// short) under AddressSanitizer: each is either decoded in full or refused
// with exactly one message and nothing held, never read past its end.
TEST_F(TextureTest, DamagedImagesAreDecodedOrRefusedCleanly) {
  TgaBytes valid(10, 7, 5, 32);
  valid.Add({0x84, 1, 2, 3, 4, 0x02, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  valid.Add({0x9A, 20, 21, 22, 23});
  ASSERT_TRUE(valid.Load(image_));
  std::free(image_.imageData);
  image_ = {};

  uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  int decoded = 0, refused = 0;
  for (int round = 0; round < 4000; ++round) {
    TgaBytes damaged = valid;
    const int changes = 1 + static_cast<int>(next() % 3);
    for (int c = 0; c < changes; ++c) {
      // Mostly the size fields and packet headers, sometimes anywhere.
      const size_t at = next() % 4 ? 12 + next() % 12 : next() % damaged.size();
      damaged[at] = static_cast<uint8_t>(next());
    }
    // Sizes up to 255 × 255 keep every buffer small and the run quick.
    damaged[13] = damaged[15] = 0;
    const size_t size = next() % 4 ? damaged.size() : next() % (damaged.size() + 1);
    test_seams::Reset();
    TextureImage image{};
    if (damaged.Load(image, size)) {
      ++decoded;
      EXPECT_TRUE(test_seams::MessageBoxes().empty());
      ASSERT_NE(image.imageData, nullptr);
      EXPECT_TRUE(image.bpp == 24 || image.bpp == 32);
      // Every byte of the buffer was written: touching them all is clean.
      unsigned sum = 0;
      for (size_t i = 0; i < size_t{image.width} * image.height * (image.bpp / 8); ++i)
        sum += image.imageData[i];
      (void)sum;
      std::free(image.imageData);
    } else {
      ++refused;
      EXPECT_EQ(test_seams::MessageBoxes().size(), 1u);
      EXPECT_EQ(image.imageData, nullptr);
    }
  }
  EXPECT_GT(decoded, 100);
  EXPECT_GT(refused, 100);
}

TEST_F(TextureTest, AMissingResourceIsReported) {
  EXPECT_FALSE(LoadTextureResource(108, 0));
  ExpectOneMessage("Could not locate image resource");
  EXPECT_EQ(Textures[0].imageData, nullptr);
}

// The committed artwork: four identical dark-red sprites in their boxes.
class SpriteResourceTest : public TextureTest {
 protected:
  static constexpr int kColumns[4] = {8, 266, 523, 780};
  static constexpr int kWidth = 234, kHeight = 449, kFirstRow = 288;
  static int BoxOf(int x, int y) {
    if (y < kFirstRow || y >= kFirstRow + kHeight) return -1;
    for (int b = 0; b < 4; ++b)
      if (x >= kColumns[b] && x < kColumns[b] + kWidth) return b;
    return -1;
  }
  uint8_t Alpha(int x, int y) const { return Texel(static_cast<size_t>(y) * 1024 + x)[3]; }
};

TEST_F(SpriteResourceTest, DecodesFromEveryByteIntoTheFullImage) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(FindResourceBytes(107, "tga", &data, &size));
  EXPECT_EQ(std::vector<uint8_t>(data, data + 18),
            (std::vector<uint8_t>{0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 32, 0x08}));
  // One byte less is not enough: the packets end exactly at the end.
  TextureImage shorter{};
  EXPECT_FALSE(LoadTGAFromMemory(shorter, data, size - 1));
  EXPECT_EQ(shorter.imageData, nullptr);
  test_seams::Reset();

  ASSERT_TRUE(LoadTGAFromMemory(image_, data, size));
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
  EXPECT_EQ(image_.width * image_.height, 1048576u);
  EXPECT_EQ(image_.type, static_cast<GLenum>(GL_RGBA));
}

TEST_F(SpriteResourceTest, FourIdenticalOpaqueSpritesWithSoftEdgesOnTransparency) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(FindResourceBytes(107, "TGA", &data, &size));
  ASSERT_TRUE(LoadTGAFromMemory(image_, data, size));

  int outsideVisible = 0, intermediate = 0, notDarkRed = 0, differing = 0;
  int opaque[4] = {}, left[4], right[4], bottom[4], top[4];
  for (int b = 0; b < 4; ++b) left[b] = bottom[b] = 1 << 20, right[b] = top[b] = -1;
  for (int y = 0; y < 1024; ++y)
    for (int x = 0; x < 1024; ++x) {
      const uint8_t* t = Texel(static_cast<size_t>(y) * 1024 + x);
      const int box = BoxOf(x, y);
      if (box < 0) {
        outsideVisible += t[3] != 0;
        continue;
      }
      if (t[3] == 0) continue;
      opaque[box] += t[3] == 255;
      intermediate += t[3] != 255;
      notDarkRed += !(t[0] > 3 * t[1] && t[0] > 3 * t[2] && t[0] < 200);
      left[box] = std::min(left[box], x - kColumns[box]);
      right[box] = std::max(right[box], x - kColumns[box]);
      bottom[box] = std::min(bottom[box], y - kFirstRow);
      top[box] = std::max(top[box], y - kFirstRow);
      // The same texel in every sprite.
      if (box > 0) {
        const size_t same = static_cast<size_t>(y) * 1024 + x - kColumns[box] + kColumns[0];
        differing += std::memcmp(t, Texel(same), 4) != 0;
      }
    }
  EXPECT_EQ(outsideVisible, 0);
  EXPECT_EQ(notDarkRed, 0);
  EXPECT_EQ(differing, 0) << "the four sprites are identical";
  EXPECT_GT(intermediate, 400) << "the edges are soft";
  for (int b = 0; b < 4; ++b) {
    SCOPED_TRACE(b);
    // The sprite fills its box from edge to edge and is mostly opaque.
    EXPECT_EQ(left[b], 0);
    EXPECT_EQ(right[b], kWidth - 1);
    EXPECT_EQ(bottom[b], 0);
    EXPECT_EQ(top[b], kHeight - 1);
    EXPECT_GT(opaque[b], kWidth * kHeight / 3);
    EXPECT_LT(opaque[b], kWidth * kHeight) << "a silhouette, not a plain rectangle";
  }
}

}  // namespace
