// The corner text's font: 5 x 7 pixels a character, only the characters a
// frame rate needs.
#include "render/corner_text.h"

#include "render/gl.h"

namespace {

constexpr int kRows = 7;
constexpr int kColumns = 5;
constexpr int kAdvance = kColumns + 1;  // a column between two characters
constexpr int kMargin = 4;              // font pixels from the left and bottom edges

struct Glyph {
  char c;
  unsigned char rows[kRows];  // top row first, the leftmost pixel in bit 4
};

constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* GlyphOf(char c) {
  for (const Glyph& glyph : kFont)
    if (glyph.c == c) return &glyph;
  return nullptr;
}

// One quad per lit pixel, in font pixels from the lower left corner.
void DrawGlyph(const Glyph& glyph, int left) {
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      if (!(glyph.rows[row] >> (kColumns - 1 - column) & 1)) continue;
      const int x = kMargin + left + column;
      const int y = kMargin + kRows - 1 - row;
      glVertex2i(x, y);
      glVertex2i(x + 1, y);
      glVertex2i(x + 1, y + 1);
      glVertex2i(x, y + 1);
    }
}

}  // namespace

void DrawCornerText(const char* text, int width, int height, int scale) {
  if (!text || !*text || width <= 0 || height <= 0 || scale <= 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glViewport(0, 0, width, height);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_CULL_FACE);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, static_cast<double>(width) / scale, 0, static_cast<double>(height) / scale, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 0.0f);
  glBegin(GL_QUADS);
  for (int i = 0; text[i]; ++i)
    if (const Glyph* glyph = GlyphOf(text[i])) DrawGlyph(*glyph, i * kAdvance);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
