// The world layout image as the painter and the reach check see it: one
// packed colour (red in the low byte) per pixel, and the colour code that
// generation reads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorin::worldpaint {

constexpr std::uint32_t Pack(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b) << 16;
}

inline constexpr std::uint32_t kEmpty = Pack(0, 0, 0);
inline constexpr std::uint32_t kBlueRock = Pack(128, 128, 192);
inline constexpr std::uint32_t kGreenRock = Pack(128, 192, 128);
inline constexpr std::uint32_t kPurpleRock = Pack(128, 32, 128);
inline constexpr std::uint32_t kGreyRock = Pack(128, 128, 128);
inline constexpr std::uint32_t kStart = Pack(0, 255, 255);
inline constexpr std::uint32_t kCheckpoint = Pack(0, 255, 128);
inline constexpr std::uint32_t kHazard = Pack(127, 0, 0);
inline constexpr std::uint32_t kEnemy1 = Pack(0, 0, 128);
inline constexpr std::uint32_t kEnemy2 = Pack(0, 0, 144);
inline constexpr std::uint32_t kEnemy3 = Pack(0, 0, 160);
inline constexpr std::uint32_t kEnemy4 = Pack(0, 0, 176);
inline constexpr std::uint32_t kEnemy5 = Pack(0, 0, 240);
inline constexpr std::uint32_t kDecorationA = Pack(0, 96, 0);
inline constexpr std::uint32_t kDecorationB = Pack(0, 128, 0);
inline constexpr std::uint32_t kFruit = Pack(0, 192, 0);

// The fifteen colours our layout is made of, in palette order. Enemy kind 4
// has no pixel in our world, so its colour is not among them.
inline constexpr std::array<std::uint32_t, 15> kLayoutColours{
    kEmpty,  kBlueRock, kGreenRock,  kPurpleRock, kGreyRock,   kStart,       kCheckpoint, kHazard,
    kEnemy1, kEnemy2,   kEnemy3,     kEnemy5,     kDecorationA, kDecorationB, kFruit};

inline bool IsRock(std::uint32_t p) { return (p & 128u) != 0; }
inline bool IsEnemy(std::uint32_t p) {
  return !IsRock(p) && p != kStart && p != kCheckpoint && p != kHazard && (p & 0x800000u) != 0;
}

struct Layout {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> px;

  Layout() = default;
  Layout(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * h, kEmpty) {}
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Outside the image reads as empty.
  std::uint32_t At(int x, int y) const {
    return Inside(x, y) ? px[static_cast<std::size_t>(y) * width + x] : kEmpty;
  }
  void Set(int x, int y, std::uint32_t c) {
    if (Inside(x, y)) px[static_cast<std::size_t>(y) * width + x] = c;
  }
};

// Any PNG, expanded to packed colours; false when it cannot be read.
bool ReadLayoutPng(const std::string& path, Layout& out);
// 8-bit paletted PNG whose palette is exactly kLayoutColours; false when a
// pixel has another colour or the file cannot be written.
bool WriteLayoutPng(const std::string& path, const Layout& layout);

}  // namespace quorin::worldpaint
