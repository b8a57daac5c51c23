// The TGA texture loader: finds the sprite image among the program's
// resources, decodes its true-colour pixels and makes the GL texture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/gl.h"
#include "resources/resource.h"

// One decoded image and its texture, fields in this order.
struct TextureImage {
  uint8_t* imageData;  // width × height × bpp/8 bytes, rows in file order; freed after upload
  uint32_t bpp;        // 24 or 32
  uint32_t width;
  uint32_t height;
  GLuint texID;
  GLenum type;         // GL_RGB for 24 bits, GL_RGBA for 32
};

constexpr int kTextureSlots = 1;
extern TextureImage Textures[kTextureSlots];

constexpr int kSpriteSlot = 0;

// The texture every scene draws with (slot 0).
inline GLuint SpriteTexture() { return Textures[kSpriteSlot].texID; }

// Finds resource "TGA" id, decodes it into the slot and uploads it. The caller
// must have a current GL context; the texture is left bound.
bool LoadTextureResource(uint16_t id, int slot);
// Checks the 12-byte header and decodes the rest into the record.
bool LoadTGAFromMemory(TextureImage& image, const uint8_t* data, size_t size);
// Decodes from the bytes after the 12-byte header; size counts those bytes.
bool DecodeRLETGA(TextureImage& image, const uint8_t* data, size_t size);
