// The fixed projection and the render state that every scene assumes.
#include "render/render_state.h"

#include "render/texture.h"

GLUquadric* Quadric = nullptr;

namespace {
constexpr double kFieldOfView = 50.0;
constexpr double kNearPlane = 0.1f;  // a single-precision constant, widened
constexpr double kFarPlane = 1000.0;
}  // namespace

void SetViewport(int width, int height) { SetViewportAt(0, 0, width, height); }

void SetViewportAt(int x, int y, int width, int height) {
  if (height == 0) height = 1;
  glViewport(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height), kNearPlane,
                 kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool InitRenderState() {
  if (!LoadTextureResource(IDR_SPRITE_TGA, kSpriteSlot)) return false;
  glBindTexture(GL_TEXTURE_2D, SpriteTexture());
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glAlphaFunc(GL_GREATER, 0.0f);
  glEnable(GL_ALPHA_TEST);
  glEnable(GL_TEXTURE_2D);
  // A context made again (a second preview, say) gets a fresh quadric; the
  // one before it is not left behind.
  if (Quadric) gluDeleteQuadric(Quadric);
  Quadric = gluNewQuadric();
  gluQuadricNormals(Quadric, GLU_SMOOTH);
  gluQuadricTexture(Quadric, GL_TRUE);
  return true;
}
