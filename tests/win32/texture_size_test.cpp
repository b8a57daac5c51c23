// The TGA decoder's size arithmetic in a Windows build, the i686 one among
// them, where size_t has 32 bits: 32768 × 32768 pixels at 32 bits are 2^32
// bytes, which a 32-bit product wraps to 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/texture.h"
#include "tests/win32/message_box_watch_win32.h"

namespace {

TEST(TextureSizeTest, AnImageOfTwoToTheThirtySecondBytesIsRefusedBeforeAllocating) {
  MessageBoxWatch watch;
  ASSERT_TRUE(watch.Active());
  // The header, then run packets of 128 pixels: enough data for every pixel.
  std::vector<uint8_t> tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80, 0x00, 0x80, 32, 0x08};
  const size_t packets = (size_t{1} << 30) / 128;
  tga.resize(tga.size() + packets * 5, 0x40);
  for (size_t p = 0; p < packets; ++p) tga[18 + p * 5] = 0xFF;
  TextureImage image{};
  EXPECT_FALSE(LoadTGAFromMemory(image, tga.data(), tga.size()));
  EXPECT_EQ(image.imageData, nullptr);
  ASSERT_EQ(MessageBoxWatch::Boxes().size(), 1u);
  EXPECT_EQ(MessageBoxWatch::Boxes()[0].text, "Could not allocate memory for image");
}

}  // namespace
