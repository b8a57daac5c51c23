// The GL contexts' shared choices: the pixel format's score, the scan over a
// device's described formats, and extension names in an extension string.
#include <gtest/gtest.h>

#include <vector>

#include "render/gl_choices.h"

namespace {

constexpr uint32_t kWindowGL = kFormatDrawToWindow | kFormatSupportOpenGL;
constexpr uint32_t kDouble = kWindowGL | kFormatDoubleBuffer;
constexpr int kUnknown = -1;

PixelFormat Format(uint32_t flags, uint8_t colour, uint8_t depth, int samples = kUnknown,
                   uint8_t type = kFormatTypeRgba) {
  PixelFormat f;
  f.flags = flags;
  f.pixelType = type;
  f.colourBits = colour;
  f.depthBits = depth;
  f.samples = samples;
  return f;
}

// The scan over a list of formats, format i being formats[i - 1].
int Scan(int chosen, const std::vector<PixelFormat>& formats, int bits = 32) {
  return ScanPixelFormats(chosen, static_cast<int>(formats.size()), bits,
                          [&formats](int i, PixelFormat* f) {
                            *f = formats[static_cast<size_t>(i - 1)];
                            return true;
                          });
}

TEST(PixelFormatTest, ScoresOrderAcceleratedThenShallowDepthThenDoubleBuffering) {
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 32, 24), 32), 1130u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble | kFormatGeneric, 32, 16), 32), 114u);
  EXPECT_EQ(ScorePixelFormat(Format(kWindowGL, 32, 12), 32), 1025u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 32, 32), 32), 1122u);
  // Multisampling does not change the score.
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 32, 16, 4), 32),
            ScorePixelFormat(Format(kDouble, 32, 16, 0), 32));
  // Each condition alone makes a format unusable.
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 24, 24), 32), 0u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble & ~kFormatSupportOpenGL, 32, 24), 32), 0u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble & ~kFormatDrawToWindow, 32, 24), 32), 0u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 32, 8), 32), 0u);
  EXPECT_EQ(ScorePixelFormat(Format(kDouble, 32, 24, kUnknown, 1), 32), 0u);  // colour index
}

TEST(PixelFormatTest, ScanKeepsTheSystemChoiceWhenNothingScores) {
  const std::vector<PixelFormat> sixteenBit(4, Format(kDouble, 16, 24, 0));
  EXPECT_EQ(Scan(3, sixteenBit), 3);
}

TEST(PixelFormatTest, ScanPrefersTheShallowerDepthAndTheHighestNumberAmongEquals) {
  EXPECT_EQ(Scan(1, {Format(kDouble, 32, 24), Format(kDouble, 32, 16)}), 2);
  EXPECT_EQ(Scan(2, {Format(kDouble, 32, 16), Format(kDouble, 32, 24)}), 1);
  EXPECT_EQ(Scan(1, {Format(kDouble, 32, 24), Format(kDouble, 32, 24), Format(kDouble, 16, 16)}),
            2);
  EXPECT_EQ(Scan(1, {Format(kDouble | kFormatGeneric, 32, 16), Format(kWindowGL, 32, 32)}), 2);
}

// Wine on Mesa describes its four-sample formats after the plain ones of the
// same score, so the highest number alone picked a format that shades every
// pixel four times.
TEST(PixelFormatTest, AmongTheTopScoreAFormatWithoutMultisamplingWins) {
  EXPECT_EQ(Scan(1, {Format(kDouble, 32, 16, 0), Format(kDouble, 32, 16, 0),
                     Format(kDouble, 32, 16, 4), Format(kDouble, 32, 24, 0)}),
            2);
  // Never at the price of the score: a shallower multisampled format still
  // beats a deeper plain one.
  EXPECT_EQ(Scan(1, {Format(kDouble, 32, 24, 0), Format(kDouble, 32, 16, 4)}), 2);
  // Where the driver cannot say, the highest number wins as before.
  EXPECT_EQ(Scan(1, {Format(kDouble, 32, 16), Format(kDouble, 32, 16)}), 2);
  // An unusable plain format does not displace the system's choice.
  EXPECT_EQ(Scan(3, {Format(kDouble, 16, 16, 0), Format(kDouble, 16, 16, 4),
                     Format(kDouble, 16, 16, 4)}),
            3);
}

// Windows describes its own generic formats after the driver's, and the driver
// refuses to answer for them: each format the driver does not answer for is
// unknown on its own, and the others keep their answers.
TEST(PixelFormatTest, SamplesAreAskedOfTheDriversOwnFormatsEachOnItsOwn) {
  std::vector<int> asked;
  const auto driver = [&asked](int i, int* samples) {
    asked.push_back(i);
    *samples = i >= 3 ? 4 : 0;
    return i != 2;  // a format the driver will not describe
  };
  const std::vector<int> samples = SampleCountsOf(6, 4, driver);
  EXPECT_EQ(samples, (std::vector<int>{0, kUnknown, 4, 4, kUnknown, kUnknown}));
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4}));
  // So the driver's plain format of the top score wins over its four-sample
  // ones, numbered higher.
  std::vector<PixelFormat> formats(6, Format(kDouble, 32, 16));
  for (size_t i = 0; i < formats.size(); ++i) formats[i].samples = samples[i];
  formats[4].flags |= kFormatGeneric;
  formats[5].flags |= kFormatGeneric;
  EXPECT_EQ(Scan(1, formats), 1);
  // A driver that counts none of its formats is asked nothing.
  EXPECT_EQ(SampleCountsOf(2, 0, driver), (std::vector<int>{kUnknown, kUnknown}));
}

TEST(ExtensionTest, OnlyWholeNamesCount) {
  const char* list = "GLX_ARB_multisample GLX_EXT_swap_control_tear GLX_MESA_swap_control";
  EXPECT_TRUE(HasExtension(list, "GLX_ARB_multisample"));
  EXPECT_TRUE(HasExtension(list, "GLX_MESA_swap_control"));
  EXPECT_FALSE(HasExtension(list, "GLX_EXT_swap_control"));  // only _tear is there
  EXPECT_FALSE(HasExtension(list, "GLX_ARB_multi"));
  EXPECT_FALSE(HasExtension(list, "multisample"));
  EXPECT_FALSE(HasExtension(nullptr, "GLX_MESA_swap_control"));
  EXPECT_FALSE(HasExtension(list, ""));
}

}  // namespace
