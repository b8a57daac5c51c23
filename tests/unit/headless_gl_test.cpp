// The headless context and the render state it shares with the Windows one:
// projection, texture, capabilities, the quadric, and that it really draws.
#include <gtest/gtest.h>

#include <cmath>

#include "render/gl.h"
#include "render/gl_context.h"
#include "render/headless_gl.h"
#include "render/render_state.h"
#include "render/texture.h"
#include "tests/unit/gl_capture.h"
#include "tests/unit/test_seams.h"

namespace {

class HeadlessGLTest : public SceneTest {};

TEST_F(HeadlessGLTest, RenderStateIsTheOneEverySceneAssumes) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], HeadlessWidth());
  EXPECT_EQ(viewport[3], HeadlessHeight());

  // The projection is gluPerspective(50°, w/h, 0.1f, 1000): check its terms.
  GLfloat p[16];
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  const double f = 1.0 / std::tan(25.0 * 3.14159265358979323846 / 180.0);
  const double aspect = static_cast<double>(HeadlessWidth()) / HeadlessHeight();
  const double n = static_cast<double>(0.1f), far = 1000.0;
  EXPECT_NEAR(p[0], f / aspect, 1e-5);
  EXPECT_NEAR(p[5], f, 1e-5);
  EXPECT_NEAR(p[10], (far + n) / (n - far), 1e-5);
  EXPECT_NEAR(p[14], 2 * far * n / (n - far), 1e-6);
  EXPECT_EQ(p[11], -1.0f);

  GLint mode = 0, bound = 0, shade = 0, depthFunc = 0, alphaFunc = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_SHADE_MODEL, &shade);
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_NE(SpriteTexture(), 0u);
  EXPECT_EQ(static_cast<GLuint>(bound), SpriteTexture());
  EXPECT_EQ(shade, GL_SMOOTH);
  EXPECT_EQ(depthFunc, GL_LEQUAL);
  EXPECT_EQ(alphaFunc, GL_GREATER);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_NE(Quadric, nullptr);

  GLint minFilter = 0, magFilter = 0, width = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  EXPECT_EQ(width, 1024);
  // The decoded pixels were released once GL held the texture.
  EXPECT_EQ(Textures[0].imageData, nullptr);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(HeadlessGLTest, ACylinderInFrontOfTheCameraShowsTheSpriteColourOnBlack) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, -6.0f, -20.0f);
  glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
  gluCylinder(Quadric, 6.0, 6.0, 12.0, 32, 32);
  ASSERT_EQ(gl_capture::Calls().size(), 1u);
  EXPECT_EQ(gl_capture::Calls()[0].kind, gl_capture::Kind::Cylinder);

  const std::vector<uint8_t> pixels = ReadHeadlessPixels();
  ASSERT_EQ(pixels.size(), static_cast<size_t>(HeadlessWidth()) * HeadlessHeight() * 4);
  size_t red = 0, black = 0, other = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const int r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
    if (r == 0 && g == 0 && b == 0)
      ++black;
    else if (r > 40 && r > 2 * g && r > 2 * b)
      ++red;
    else if (g > r || b > r)
      ++other;  // never a colour the dark-red sprites cannot give
  }
  EXPECT_GT(red, pixels.size() / 4 / 50) << "the sprites cover some of the picture";
  EXPECT_GT(black, pixels.size() / 4 / 4) << "the transparent texels leave the black background";
  EXPECT_EQ(other, 0u);
}

// Releasing and making the context again, as a second preview would: the
// render state comes back whole, and LeakSanitizer sees nothing left behind.
TEST_F(HeadlessGLTest, AContextMadeAgainHasTheRenderStateAgain) {
  DestroyGLContext();
  EXPECT_FALSE(HeadlessContextCurrent());
  DestroyGLContext();  // nothing left to release
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
  ASSERT_TRUE(CreateGLContext(nullptr, 32));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_NE(SpriteTexture(), 0u);
  EXPECT_EQ(static_cast<GLuint>(bound), SpriteTexture());
  EXPECT_NE(Quadric, nullptr);
  EXPECT_TRUE(test_seams::MessageBoxes().empty());
}

}  // namespace
