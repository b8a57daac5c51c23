// The pixel format's score and the extension lookup, shared by the GL contexts.
#include "render/gl_choices.h"

#include <cstring>

unsigned ScorePixelFormat(const PixelFormat& format, int colourBits) {
  if (format.colourBits != colourBits || !(format.flags & kFormatSupportOpenGL) ||
      !(format.flags & kFormatDrawToWindow) || format.depthBits <= 8 ||
      format.pixelType != kFormatTypeRgba)
    return 0;
  unsigned score = (format.flags & kFormatDoubleBuffer) ? 2 : 1;
  if (format.depthBits >= 16) score += 128u - format.depthBits;
  if (!(format.flags & kFormatGeneric)) score += 1024;
  return score;
}

bool HasExtension(const char* list, const char* name) {
  if (!list || !name || !*name) return false;
  const size_t length = std::strlen(name);
  for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
    const bool starts = at == list || at[-1] == ' ';
    const bool ends = at[length] == ' ' || at[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}
