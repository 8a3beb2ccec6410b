#include "runtime/surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUORIN_SSE2 1
#endif

namespace quorin {

Surface MakeSurface(std::int32_t width, std::int32_t height, std::uint32_t pixel) {
  Surface s;
  if (width <= 0 || height <= 0) return s;
  s.width = width;
  s.height = height;
  s.pixels.assign(static_cast<std::size_t>(width) * height, pixel);
  return s;
}

void SurfaceFill(Surface& surface, std::uint32_t pixel) {
  std::fill(surface.pixels.begin(), surface.pixels.end(), pixel);
}

void CopyRect(const std::uint32_t* src, std::size_t srcPitch, std::uint32_t* dst, std::size_t dstPitch,
              std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return;
  const std::size_t bytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
  for (std::int32_t y = 0; y < height; ++y, src += srcPitch, dst += dstPitch) std::memcpy(dst, src, bytes);
}

namespace {

// One row of a keyed copy, four pixels at a time: the compare mask selects
// between the source and what the target already holds. Branch-free, since
// sprite rows switch between keyed and opaque runs all the time.
inline void KeyedRow(const std::uint32_t* src, std::uint32_t* dst, std::int32_t n, std::uint32_t key) {
  std::int32_t i = 0;
#ifdef QUORIN_SSE2
  const __m128i rgb = _mm_set1_epi32(static_cast<int>(kPixelRgbMask));
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(s, rgb), k);
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    const __m128i old = _mm_loadu_si128(d);
    _mm_storeu_si128(d, _mm_or_si128(_mm_and_si128(keyed, old), _mm_andnot_si128(keyed, s)));
  }
#endif
  for (; i < n; ++i) {
    if ((src[i] & kPixelRgbMask) != key) dst[i] = src[i];
  }
}

}  // namespace

void CopyRectKeyed(const std::uint32_t* src, std::size_t srcPitch, std::uint32_t* dst, std::size_t dstPitch,
                   std::int32_t width, std::int32_t height, std::uint32_t key) {
  if (width <= 0 || height <= 0) return;
  key &= kPixelRgbMask;
  for (std::int32_t y = 0; y < height; ++y, src += srcPitch, dst += dstPitch) KeyedRow(src, dst, width, key);
}

namespace {

inline std::uint32_t Blend(std::uint32_t under, std::uint32_t over) {
  const std::uint32_t a = over >> 24;
  if (a == 255) return over;
  if (a == 0) return under;
  std::uint32_t out = 0xFF000000;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t o = (over >> shift) & 255;
    const std::uint32_t u = (under >> shift) & 255;
    out |= ((o * a + u * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

// Bilinear sample at texel coordinates (u, v) with clamped edges.
std::uint32_t Sample(const Surface& src, float u, float v) {
  const float fu = std::floor(u);
  const float fv = std::floor(v);
  const float tu = u - fu;
  const float tv = v - fv;
  const std::int32_t x0 = std::clamp(static_cast<std::int32_t>(fu), 0, src.width - 1);
  const std::int32_t y0 = std::clamp(static_cast<std::int32_t>(fv), 0, src.height - 1);
  const std::int32_t x1 = std::clamp(static_cast<std::int32_t>(fu) + 1, 0, src.width - 1);
  const std::int32_t y1 = std::clamp(static_cast<std::int32_t>(fv) + 1, 0, src.height - 1);
  const std::uint32_t p00 = src.Row(y0)[x0], p10 = src.Row(y0)[x1];
  const std::uint32_t p01 = src.Row(y1)[x0], p11 = src.Row(y1)[x1];
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const float top = ((p00 >> shift) & 255) * (1 - tu) + ((p10 >> shift) & 255) * tu;
    const float bottom = ((p01 >> shift) & 255) * (1 - tu) + ((p11 >> shift) & 255) * tu;
    out |= static_cast<std::uint32_t>(top * (1 - tv) + bottom * tv + 0.5f) << shift;
  }
  return out;
}

}  // namespace

void DrawScaled(Surface& dst, const Surface& src, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, bool bilinear) {
  if (width <= 0 || height <= 0 || src.width <= 0 || src.height <= 0) return;
  const std::int32_t left = std::max(0, x), top = std::max(0, y);
  const std::int64_t right = std::min<std::int64_t>(dst.width, std::int64_t{x} + width);
  const std::int64_t bottom = std::min<std::int64_t>(dst.height, std::int64_t{y} + height);
  const float sx = static_cast<float>(src.width) / width;
  const float sy = static_cast<float>(src.height) / height;
  for (std::int32_t py = top; py < bottom; ++py) {
    std::uint32_t* row = dst.Row(py);
    const float v = (py - y + 0.5f) * sy - 0.5f;
    const std::int32_t ty = std::min(src.height - 1, static_cast<std::int32_t>((py - y + 0.5f) * sy));
    for (std::int32_t px = left; px < right; ++px) {
      std::uint32_t texel;
      if (bilinear) {
        texel = Sample(src, (px - x + 0.5f) * sx - 0.5f, v);
      } else {
        const std::int32_t tx = std::min(src.width - 1, static_cast<std::int32_t>((px - x + 0.5f) * sx));
        texel = src.Row(ty)[tx];
      }
      row[px] = Blend(row[px], texel);
    }
  }
}

}  // namespace quorin
