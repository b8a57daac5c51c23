// Reading and writing 8-bit RGB PNG files with libpng, for the headless
// renderer and the image check.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows from the top, 3 bytes a pixel
};

// False (with a message in error) when the file cannot be written.
bool WritePng(const std::string& path, const RgbImage& image, std::string& error);
// False (with a message in error) when the file cannot be read as a PNG.
bool ReadPng(const std::string& path, RgbImage& image, std::string& error);
