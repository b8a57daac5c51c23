// The resource seam natively: the sprite TGA is embedded into the program at
// build time from the same file the Windows resource script uses.
#include <cstring>
#include <strings.h>

#include "platform/platform.h"
#include "resources/resource.h"

#ifndef LUMVIA_SPRITE_TGA
#error "LUMVIA_SPRITE_TGA must name the sprite image to embed"
#endif

asm(".section .rodata\n"
    ".balign 16\n"
    ".globl lumvia_sprite_tga_begin\n"
    ".globl lumvia_sprite_tga_end\n"
    "lumvia_sprite_tga_begin:\n"
    ".incbin \"" LUMVIA_SPRITE_TGA "\"\n"
    "lumvia_sprite_tga_end:\n"
    ".previous\n");

extern "C" const uint8_t lumvia_sprite_tga_begin[];
extern "C" const uint8_t lumvia_sprite_tga_end[];

bool FindResourceBytes(uint16_t id, const char* type, const uint8_t** data, size_t* size) {
  if (id != IDR_SPRITE_TGA || strcasecmp(type, "TGA") != 0) return false;
  *data = lumvia_sprite_tga_begin;
  *size = static_cast<size_t>(lumvia_sprite_tga_end - lumvia_sprite_tga_begin);
  return true;
}
