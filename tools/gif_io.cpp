// GIF files through giflib. The palette is made once for the whole
// animation by median cut over every colour the frames show: the scenes are
// dark red sprites on black, a few hundred shades along one ramp, which 255
// entries follow closely, and one palette keeps a shade the same from frame
// to frame.
#include "tools/gif_io.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace {

constexpr size_t kPaletteSize = 256;  // entry 0 is black

struct ColourCount {
  uint32_t rgb;  // 0xRRGGBB
  uint32_t count;
};

uint32_t Pack(const uint8_t* p) { return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]; }
int Channel(uint32_t rgb, int c) { return static_cast<int>(rgb >> (16 - 8 * c) & 0xFF); }

// The channel along which the colours [first, last) spread widest, and how far.
int WidestChannel(const ColourCount* first, const ColourCount* last, int* range) {
  int widest = 0;
  *range = -1;
  for (int c = 0; c < 3; ++c) {
    int low = 255, high = 0;
    for (const ColourCount* p = first; p != last; ++p) {
      low = std::min(low, Channel(p->rgb, c));
      high = std::max(high, Channel(p->rgb, c));
    }
    if (high - low > *range) {
      *range = high - low;
      widest = c;
    }
  }
  return widest;
}

std::vector<GifColorType> MakePalette(const std::vector<RgbImage>& frames) {
  std::unordered_map<uint32_t, uint32_t> counts;
  for (const RgbImage& frame : frames)
    for (size_t i = 0; i + 2 < frame.rgb.size(); i += 3)
      if (const uint32_t rgb = Pack(&frame.rgb[i]); rgb != 0) ++counts[rgb];
  std::vector<ColourCount> colours;
  colours.reserve(counts.size());
  for (const auto& [rgb, count] : counts) colours.push_back({rgb, count});

  // Median cut: the box whose colours spread widest is split at the median
  // pixel of that channel, until the palette is full or every box holds one
  // colour.
  struct Box {
    size_t begin, end;
    int channel, range;
  };
  auto makeBox = [&colours](size_t begin, size_t end) {
    Box box{begin, end, 0, 0};
    box.channel = WidestChannel(&colours[0] + begin, &colours[0] + end, &box.range);
    return box;
  };
  std::vector<Box> boxes;
  if (!colours.empty()) boxes.push_back(makeBox(0, colours.size()));
  while (boxes.size() < kPaletteSize - 1) {
    const auto widest = std::max_element(boxes.begin(), boxes.end(),
                                         [](const Box& a, const Box& b) { return a.range < b.range; });
    if (widest == boxes.end() || widest->range == 0) break;
    const Box box = *widest;
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [channel = box.channel](const ColourCount& a, const ColourCount& b) {
                return Channel(a.rgb, channel) < Channel(b.rgb, channel);
              });
    uint64_t total = 0, below = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    size_t middle = box.begin + 1;
    while (middle < box.end - 1 && 2 * (below + colours[middle - 1].count) < total)
      below += colours[middle++ - 1].count;
    *widest = makeBox(box.begin, middle);
    boxes.push_back(makeBox(middle, box.end));
  }

  std::vector<GifColorType> palette{{0, 0, 0}};
  for (const Box& box : boxes) {
    uint64_t sum[3] = {}, total = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
      for (int c = 0; c < 3; ++c) sum[c] += uint64_t{colours[i].count} * Channel(colours[i].rgb, c);
      total += colours[i].count;
    }
    auto mean = [&](int c) { return static_cast<GifByteType>((sum[c] + total / 2) / total); };
    palette.push_back({mean(0), mean(1), mean(2)});
  }
  return palette;
}

uint8_t NearestEntry(const std::vector<GifColorType>& palette, uint32_t rgb) {
  uint8_t best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int dr = palette[i].Red - Channel(rgb, 0);
    const int dg = palette[i].Green - Channel(rgb, 1);
    const int db = palette[i].Blue - Channel(rgb, 2);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<uint8_t>(i);
    }
  }
  return best;
}

bool WriteFrames(GifFileType* gif, const std::vector<RgbImage>& frames, int delayCentiseconds,
                 const std::vector<GifColorType>& palette) {
  // A colour map holds a power of two entries.
  int bits = 1;
  while ((size_t{1} << bits) < palette.size()) ++bits;
  std::vector<GifColorType> entries(palette);
  entries.resize(size_t{1} << bits, GifColorType{0, 0, 0});
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
  if (!map) return false;
  const int width = frames[0].width, height = frames[0].height;
  EGifSetGifVersion(gif, true);
  bool ok = EGifPutScreenDesc(gif, width, height, bits, 0, map) == GIF_OK;
  GifFreeMapObject(map);

  // The application extension that makes viewers loop the animation for ever.
  static const GifByteType kLoopName[] = "NETSCAPE2.0";
  static const GifByteType kLoopForever[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(gif, 11, kLoopName) == GIF_OK &&
       EGifPutExtensionBlock(gif, 3, kLoopForever) == GIF_OK &&
       EGifPutExtensionTrailer(gif) == GIF_OK;

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = delayCentiseconds;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);

  std::unordered_map<uint32_t, uint8_t> entryOf{{0u, uint8_t{0}}};
  std::vector<GifPixelType> row(static_cast<size_t>(width));
  for (const RgbImage& frame : frames) {
    ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const uint32_t rgb = Pack(&frame.rgb[(static_cast<size_t>(y) * width + x) * 3]);
        auto [it, added] = entryOf.try_emplace(rgb, uint8_t{0});
        if (added) it->second = NearestEntry(palette, rgb);
        row[static_cast<size_t>(x)] = it->second;
      }
      ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
  }
  return ok;
}

int WriteBytes(GifFileType* gif, const GifByteType* bytes, int count) {
  return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(count), static_cast<std::FILE*>(gif->UserData)));
}

}  // namespace

bool WriteGif(const std::string& path, const std::vector<RgbImage>& frames,
              int delayCentiseconds, std::string& error) {
  if (frames.empty()) {
    error = "no frames to write";
    return false;
  }
  for (const RgbImage& frame : frames)
    if (frame.width != frames[0].width || frame.height != frames[0].height ||
        frame.rgb.size() != static_cast<size_t>(frame.width) * frame.height * 3) {
      error = "the frames differ in size";
      return false;
    }
  // Opened here rather than by giflib, which would make the file readable
  // by its owner only.
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "the file cannot be made";
    return false;
  }
  int code = 0;
  GifFileType* gif = EGifOpen(file, WriteBytes, &code);
  bool ok = gif != nullptr;
  if (!ok) error = GifErrorString(code);
  if (ok && !WriteFrames(gif, frames, delayCentiseconds, MakePalette(frames))) {
    error = GifErrorString(gif->Error);
    ok = false;
  }
  if (gif && EGifCloseFile(gif, &code) != GIF_OK && ok) {
    error = GifErrorString(code);
    ok = false;
  }
  if (std::fclose(file) != 0 && ok) {
    error = "the file cannot be written";
    ok = false;
  }
  return ok;
}

bool ReadGif(const std::string& path, std::vector<RgbImage>& frames, int* delayCentiseconds,
             std::string& error) {
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  if (!gif) {
    error = GifErrorString(code);
    return false;
  }
  bool ok = DGifSlurp(gif) == GIF_OK;
  if (!ok) error = GifErrorString(gif->Error);
  // Each frame is painted over the one before (the files written here never
  // ask for another disposal).
  RgbImage canvas;
  canvas.width = gif->SWidth;
  canvas.height = gif->SHeight;
  canvas.rgb.assign(static_cast<size_t>(canvas.width) * canvas.height * 3, 0);
  frames.clear();
  *delayCentiseconds = 0;
  for (int i = 0; ok && i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& place = image.ImageDesc;
    const ColorMapObject* map = place.ColorMap ? place.ColorMap : gif->SColorMap;
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, i, &control);
    if (i == 0) *delayCentiseconds = control.DelayTime;
    if (!map) {
      error = "a frame has no colour map";
      ok = false;
      break;
    }
    for (int y = 0; ok && y < place.Height; ++y)
      for (int x = 0; x < place.Width; ++x) {
        const int index = image.RasterBits[static_cast<size_t>(y) * place.Width + x];
        const int cx = place.Left + x, cy = place.Top + y;
        if (index == control.TransparentColor || cx >= canvas.width || cy >= canvas.height) continue;
        if (index >= map->ColorCount) {
          error = "a pixel names a colour the map does not have";
          ok = false;
          break;
        }
        uint8_t* p = &canvas.rgb[(static_cast<size_t>(cy) * canvas.width + cx) * 3];
        p[0] = map->Colors[index].Red;
        p[1] = map->Colors[index].Green;
        p[2] = map->Colors[index].Blue;
      }
    if (ok) frames.push_back(canvas);
  }
  DGifCloseFile(gif, &code);
  return ok;
}
