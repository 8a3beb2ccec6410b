// Paletted pixel buffers and the few drawing operations the art is made of.
// Every shape is clipped to the image; index 0 is empty (the key colour).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/artgen/palette.h"

namespace quorin::art {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> px;

  Image() = default;
  Image(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * h, kKey) {}
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint8_t At(int x, int y) const { return Inside(x, y) ? px[y * width + x] : std::uint8_t{kKey}; }
  void Set(int x, int y, int c) {
    if (Inside(x, y)) px[y * width + x] = static_cast<std::uint8_t>(c);
  }
  bool Filled(int x, int y) const { return At(x, y) != kKey; }
};

using Point = std::pair<float, float>;

void FillRect(Image& im, int x, int y, int w, int h, int c);
void FillEllipse(Image& im, float cx, float cy, float rx, float ry, int c);
// A ball lit from the upper left: shadow, base and light bands plus a glint.
void FillShadedEllipse(Image& im, float cx, float cy, float rx, float ry, const Ramp& ramp,
                       bool glint = true);
void Line(Image& im, int x0, int y0, int x1, int y1, int c);
// A capsule of the given radius around the segment.
void ThickLine(Image& im, float x0, float y0, float x1, float y1, float radius, int c);
void FillPolygon(Image& im, const std::vector<Point>& pts, int c);
// Replaces colour `from` by `to` inside the rectangle.
void Recolour(Image& im, int from, int to);

// Two-tone rim shading of every ramp base colour: edges facing the lower right
// take the ramp's shadow, edges facing the upper left its light.
void RimShade(Image& im, int width = 1);
// Empty pixels next to filled ones become `ink` (4-neighbours, or 8 with corners).
void Outline(Image& im, int ink = kInk, bool corners = false);
// Copies the filled pixels of src onto dst with src's corner at (x, y).
void Over(Image& dst, const Image& src, int x, int y);
Image FlipX(const Image& im);
// Mirror about column hotX, so a frame's hot spot stays on the same column.
Image FlipAbout(const Image& im, int hotX);
// Quarter turn clockwise.
Image Rotate90(const Image& im);
Image Crop(const Image& im, int x, int y, int w, int h);
// Nearest-neighbour enlargement by a whole factor.
Image Enlarge(const Image& im, int factor);

// Finished layer: shade, outline, then paint onto dst.
void Finish(Image& dst, Image layer, int x = 0, int y = 0, bool corners = false, int rimWidth = 1);

// Paletted PNG writers: the shared palette at 8 bits, or the given colours at 4.
bool WritePng8(const std::string& path, const Image& im);
bool WritePng4(const std::string& path, const Image& im, const std::vector<Rgb>& palette);

// A fixed-seed generator of the art program's own, so the output never changes.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  std::uint32_t Next();
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  float Unit() { return static_cast<float>(Next() & 0xFFFFFF) / 16777216.0f; }

 private:
  std::uint32_t state_;
};

// Hash of a position: stable per-pixel variation without a generator.
std::uint32_t Hash(int x, int y, int salt);

}  // namespace quorin::art
