// CPU pixel surfaces: sprites, images and the screen's back buffer. A pixel is
// 32 bits with red in the low byte, the same layout as a colour value, so
// colours need no conversion; the top byte is alpha where a surface has one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorin {

constexpr std::uint32_t kPixelRgbMask = 0x00FFFFFF;
constexpr std::uint32_t kPixelAlphaOpaque = 0xFF000000;

struct Surface {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;  // rows of width pixels, top row first

  std::uint32_t* Row(std::int32_t y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint32_t* Row(std::int32_t y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width;
  }
};

// A width x height surface filled with pixel; an empty one for sizes <= 0.
Surface MakeSurface(std::int32_t width, std::int32_t height, std::uint32_t pixel = 0);
void SurfaceFill(Surface& surface, std::uint32_t pixel);

// Row copies of an already clipped rectangle; pitches in pixels.
void CopyRect(const std::uint32_t* src, std::size_t srcPitch, std::uint32_t* dst, std::size_t dstPitch,
              std::int32_t width, std::int32_t height);
// As CopyRect, skipping source pixels whose colour (alpha ignored) equals key.
void CopyRectKeyed(const std::uint32_t* src, std::size_t srcPitch, std::uint32_t* dst, std::size_t dstPitch,
                   std::int32_t width, std::int32_t height, std::uint32_t key);

// Draws src scaled to width x height at (x, y) of dst, clipped to dst, blending
// by the source alpha. Texel centres map to pixel centres, as a GPU samples.
// The null back end shows its quads with it.
void DrawScaled(Surface& dst, const Surface& src, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, bool bilinear);

}  // namespace quorin
