#include "tools/iconmaker/icon.h"

#include <algorithm>

#include "flow/frame_layout.h"
#include "runtime/png_codec.h"

namespace quorin {
namespace {

constexpr std::uint32_t kKeyColour = 0xFF00FF;  // magenta, red low
constexpr std::int32_t kMargin = 2;

const FrameGroup* Group(int first) {
  for (const FrameGroup& g : kFrameGroups) {
    if (g.first == first) return &g;
  }
  return nullptr;
}

// Copies frame 0 of the group so that its hot spot lands on (hotX, hotY) of out.
bool Stamp(const Surface& sheet, int first, Surface& out, std::int32_t hotX, std::int32_t hotY) {
  const FrameGroup* g = Group(first);
  if (g == nullptr) return false;
  const FrameRect r = FrameInGroup(*g, 0);
  if (r.x + r.width > sheet.width || r.y + r.height > sheet.height) return false;
  for (std::int32_t y = 0; y < r.height; ++y) {
    for (std::int32_t x = 0; x < r.width; ++x) {
      const std::uint32_t pixel = sheet.Row(r.y + y)[r.x + x] & kPixelRgbMask;
      const std::int32_t ox = hotX - r.hotX + x;
      const std::int32_t oy = hotY - r.hotY + y;
      if (pixel == kKeyColour || ox < 0 || oy < 0 || ox >= out.width || oy >= out.height) continue;
      out.Row(oy)[ox] = pixel | kPixelAlphaOpaque;
    }
  }
  return true;
}

}  // namespace

Surface HeroIcon(const Surface& actorsSheet) {
  const FrameGroup* body = Group(kHeroBodyFrames);
  const FrameGroup* legs = Group(kHeroLegsFrames);
  if (body == nullptr || legs == nullptr) return {};
  // The two frames share their hot spot: the body reaches hotY above it, the
  // legs height - hotY below it.
  const std::int32_t top = std::max(body->hotY, legs->hotY);
  const std::int32_t bottom = std::max(body->height - body->hotY, legs->height - legs->hotY);
  const std::int32_t width = std::max(body->width, legs->width);
  const std::int32_t side = std::max(width, top + bottom) + 2 * kMargin;
  Surface icon = MakeSurface(side, side, 0);
  const std::int32_t hotX = side / 2;
  const std::int32_t hotY = (side - (top + bottom)) / 2 + top;
  if (!Stamp(actorsSheet, kHeroLegsFrames, icon, hotX, hotY) ||
      !Stamp(actorsSheet, kHeroBodyFrames, icon, hotX, hotY)) {
    return {};
  }
  return icon;
}

Surface ScaleIcon(const Surface& src, std::int32_t size) {
  Surface out = MakeSurface(size, size, 0);
  if (src.width <= 0 || size <= 0) return out;
  const std::int32_t n = src.width;
  if (size >= n) {
    // Whole blocks, centred: the few pixels left over become margin.
    const std::int32_t block = size / n;
    const std::int32_t offset = (size - block * n) / 2;
    for (std::int32_t y = 0; y < n * block; ++y) {
      for (std::int32_t x = 0; x < n * block; ++x) {
        out.Row(offset + y)[offset + x] = src.Row(y / block)[x / block];
      }
    }
    return out;
  }
  for (std::int32_t y = 0; y < size; ++y) {
    for (std::int32_t x = 0; x < size; ++x) {
      const std::int32_t x0 = x * n / size, x1 = std::max(x0 + 1, (x + 1) * n / size);
      const std::int32_t y0 = y * n / size, y1 = std::max(y0 + 1, (y + 1) * n / size);
      std::uint64_t r = 0, g = 0, b = 0, a = 0, count = 0;
      for (std::int32_t sy = y0; sy < y1; ++sy) {
        for (std::int32_t sx = x0; sx < x1; ++sx) {
          const std::uint32_t p = src.Row(sy)[sx];
          const std::uint32_t pa = p >> 24;
          r += (p & 0xFF) * pa;
          g += ((p >> 8) & 0xFF) * pa;
          b += ((p >> 16) & 0xFF) * pa;
          a += pa;
          ++count;
        }
      }
      if (a == 0) continue;
      const auto channel = [a](std::uint64_t sum) { return static_cast<std::uint32_t>((sum + a / 2) / a); };
      const std::uint32_t alpha = static_cast<std::uint32_t>((a + count / 2) / count);
      out.Row(y)[x] = channel(r) | channel(g) << 8 | channel(b) << 16 | alpha << 24;
    }
  }
  return out;
}

std::vector<unsigned char> WindowsIconFile(const Surface& hero) {
  std::vector<unsigned char> out;
  const auto put16 = [&out](std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
  };
  const auto put32 = [&put16](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  std::vector<std::vector<unsigned char>> images;
  for (const std::int32_t size : kWindowsIconSizes) images.push_back(EncodePng(ScaleIcon(hero, size), true));
  // The directory: reserved, type 1 (icon), count; then one entry per image.
  put16(0);
  put16(1);
  put16(static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::uint32_t side = static_cast<std::uint32_t>(kWindowsIconSizes[i]);
    out.push_back(static_cast<unsigned char>(side >= 256 ? 0 : side));  // 0 stands for 256
    out.push_back(static_cast<unsigned char>(side >= 256 ? 0 : side));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(1);   // planes
    put16(32);  // bits per pixel
    put32(static_cast<std::uint32_t>(images[i].size()));
    put32(offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::vector<unsigned char>& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace quorin
