// Any bytes as a TGA file: decoded into a whole image, or refused with exactly
// one message and nothing held; never read past the end, and never a buffer
// larger than 64 MiB asked for (the runs set a malloc limit).
#include <cstdlib>

#include "render/texture.h"
#include "tests/fuzz/fuzz_seams.h"

using fuzz_seams::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_seams::Reset();
  TextureImage image{};
  if (LoadTGAFromMemory(image, data, size)) {
    Require(fuzz_seams::MessageBoxes() == 0);
    Require(image.imageData != nullptr && image.width > 0 && image.height > 0);
    Require((image.bpp == 24 && image.type == GL_RGB) || (image.bpp == 32 && image.type == GL_RGBA));
    std::free(image.imageData);
  } else {
    Require(fuzz_seams::MessageBoxes() == 1);
    Require(image.imageData == nullptr);
  }
  return 0;
}
