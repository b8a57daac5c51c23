// Animated GIF files through giflib, for the headless renderer's moving
// pictures and the image check that reads them back.
#pragma once

#include <string>
#include <vector>

#include "tools/png_io.h"

// Writes the frames (all of one size) as a GIF that loops for ever, each
// frame shown for delayCentiseconds. One palette serves the whole animation:
// black is always entry 0, every pixel takes the nearest entry, and nothing
// is dithered, so the black background stays plain black. False (with a
// message in error) when the file cannot be written.
bool WriteGif(const std::string& path, const std::vector<RgbImage>& frames,
              int delayCentiseconds, std::string& error);

// Reads every frame of a GIF as a whole picture, with the delay of the first
// frame in centiseconds. False (with a message in error) when the file
// cannot be read as a GIF.
bool ReadGif(const std::string& path, std::vector<RgbImage>& frames, int* delayCentiseconds,
             std::string& error);
