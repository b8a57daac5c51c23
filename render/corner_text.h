// A line of text in the lower left corner of a frame, over the scene, in a
// small font of the program's own drawn with GL (the frame rate of -fps), so
// that it looks the same on every window system.
#pragma once

// Screen pixels a pixel of the font is wide and high (at a scale of 1).
constexpr int kCornerTextScale = 2;

// Draws the text on the current drawable of width x height pixels, each
// pixel of the font `scale` x `scale` pixels there. Characters the font lacks
// are left blank. Leaves the GL state as it was.
void DrawCornerText(const char* text, int width, int height, int scale);
