#include "tools/artgen/image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "runtime/line_walk.h"

namespace quorin::art {

namespace {

constexpr std::array<Ramp, 15> kAllRamps{kSuitRamp,  kRedRamp,   kGoldRamp,  kGreenRamp,  kPurpleRamp,
                                         kBlueRamp,  kGreyRamp,  kCyanRamp,  kPinkRamp,   kSkinRamp,
                                         kBrownRamp, kStoneRamp, kWhiteRamp, kOrangeRamp, kMossRamp};

const Ramp* RampOfBase(int c) {
  for (const Ramp& r : kAllRamps) {
    if (r.base == c) return &r;
  }
  return nullptr;
}

bool WritePng(const std::string& path, const Image& im, int depth, const std::vector<Rgb>& palette) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, im.width, im.height, depth, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> colours;
  for (const Rgb& c : palette) colours.push_back({c.r, c.g, c.b});
  png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  // Fixed time-free output so that reruns give identical bytes.
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  const int perByte = 8 / depth;
  std::vector<png_byte> row((im.width + perByte - 1) / perByte);
  for (int y = 0; y < im.height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = 0; x < im.width; ++x) {
      const int v = im.px[y * im.width + x];
      const int shift = 8 - depth * (x % perByte + 1);
      row[x / perByte] = static_cast<png_byte>(row[x / perByte] | (v << shift));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace

void FillRect(Image& im, int x, int y, int w, int h, int c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) im.Set(i, j, c);
}

void FillEllipse(Image& im, float cx, float cy, float rx, float ry, int c) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y) {
    for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
      const float dx = (x + 0.5f - cx) / rx;
      const float dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) im.Set(x, y, c);
    }
  }
}

void FillShadedEllipse(Image& im, float cx, float cy, float rx, float ry, const Ramp& ramp, bool glint) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry)); ++y) {
    for (int x = static_cast<int>(std::floor(cx - rx)); x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
      const float dx = (x + 0.5f - cx) / rx;
      const float dy = (y + 0.5f - cy) / ry;
      const float d = dx * dx + dy * dy;
      if (d > 1.0f) continue;
      // Light comes from the upper left.
      const float lit = -(dx * 0.6f + dy * 0.8f);
      int c = ramp.base;
      if (lit > 0.35f && d > 0.15f) c = ramp.light;
      if (lit < -0.3f || (d > 0.72f && lit < 0.1f)) c = ramp.dark;
      if (glint) {
        const float gx = dx + 0.4f, gy = dy + 0.45f;
        if (gx * gx + gy * gy < 0.05f) c = ramp.shine;
      }
      im.Set(x, y, c);
    }
  }
}

void Line(Image& im, int x0, int y0, int x1, int y1, int c) {
  WalkLine(x0, y0, x1, y1, [&](int x, int y) { im.Set(x, y, c); });
}

void ThickLine(Image& im, float x0, float y0, float x1, float y1, float radius, int c) {
  const float minX = std::min(x0, x1) - radius - 1, maxX = std::max(x0, x1) + radius + 1;
  const float minY = std::min(y0, y1) - radius - 1, maxY = std::max(y0, y1) + radius + 1;
  const float vx = x1 - x0, vy = y1 - y0;
  const float len2 = vx * vx + vy * vy;
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
    for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x) {
      const float px = x + 0.5f - x0, py = y + 0.5f - y0;
      float t = len2 > 0 ? (px * vx + py * vy) / len2 : 0.0f;
      t = std::clamp(t, 0.0f, 1.0f);
      const float ex = px - t * vx, ey = py - t * vy;
      if (ex * ex + ey * ey <= radius * radius) im.Set(x, y, c);
    }
  }
}

void FillPolygon(Image& im, const std::vector<Point>& pts, int c) {
  if (pts.size() < 3) return;
  float minY = pts[0].second, maxY = pts[0].second;
  for (const Point& p : pts) {
    minY = std::min(minY, p.second);
    maxY = std::max(maxY, p.second);
  }
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
    const float sy = y + 0.5f;
    std::vector<float> xs;
    for (std::size_t i = 0; i < pts.size(); ++i) {
      const Point& a = pts[i];
      const Point& b = pts[(i + 1) % pts.size()];
      if ((a.second <= sy && b.second > sy) || (b.second <= sy && a.second > sy)) {
        xs.push_back(a.first + (sy - a.second) / (b.second - a.second) * (b.first - a.first));
      }
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5f));
           x <= static_cast<int>(std::floor(xs[i + 1] - 0.5f)); ++x)
        im.Set(x, y, c);
    }
  }
}

void Recolour(Image& im, int from, int to) {
  for (auto& p : im.px)
    if (p == from) p = static_cast<std::uint8_t>(to);
}

void RimShade(Image& im, int width) {
  const Image src = im;
  for (int y = 0; y < im.height; ++y) {
    for (int x = 0; x < im.width; ++x) {
      const Ramp* r = RampOfBase(src.At(x, y));
      if (!r) continue;
      bool openBelow = false, openAbove = false;
      for (int k = 1; k <= width; ++k) {
        openBelow = openBelow || !src.Filled(x, y + k) || !src.Filled(x + k, y);
        openAbove = openAbove || !src.Filled(x, y - k) || !src.Filled(x - k, y);
      }
      if (openBelow) {
        im.Set(x, y, r->dark);
      } else if (openAbove) {
        im.Set(x, y, r->light);
      }
    }
  }
}

void Outline(Image& im, int ink, bool corners) {
  const Image src = im;
  for (int y = 0; y < im.height; ++y) {
    for (int x = 0; x < im.width; ++x) {
      if (src.Filled(x, y)) continue;
      bool touch =
          src.Filled(x - 1, y) || src.Filled(x + 1, y) || src.Filled(x, y - 1) || src.Filled(x, y + 1);
      if (corners) {
        touch = touch || src.Filled(x - 1, y - 1) || src.Filled(x + 1, y - 1) || src.Filled(x - 1, y + 1) ||
                src.Filled(x + 1, y + 1);
      }
      if (touch) im.Set(x, y, ink);
    }
  }
}

void Over(Image& dst, const Image& src, int x, int y) {
  for (int j = 0; j < src.height; ++j)
    for (int i = 0; i < src.width; ++i)
      if (src.px[j * src.width + i] != kKey) dst.Set(x + i, y + j, src.px[j * src.width + i]);
}

Image FlipX(const Image& im) {
  Image out(im.width, im.height);
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x) out.px[y * im.width + x] = im.px[y * im.width + (im.width - 1 - x)];
  return out;
}

Image FlipAbout(const Image& im, int hotX) {
  Image out(im.width, im.height);
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x) out.px[y * im.width + x] = im.At(2 * hotX - x, y);
  return out;
}

Image Rotate90(const Image& im) {
  Image out(im.height, im.width);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.px[y * out.width + x] = im.At(y, im.height - 1 - x);
  return out;
}

Image Crop(const Image& im, int x, int y, int w, int h) {
  Image out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.px[j * w + i] = im.At(x + i, y + j);
  return out;
}

Image Enlarge(const Image& im, int factor) {
  Image out(im.width * factor, im.height * factor);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.px[y * out.width + x] = im.px[(y / factor) * im.width + x / factor];
  return out;
}

void Finish(Image& dst, Image layer, int x, int y, bool corners, int rimWidth) {
  RimShade(layer, rimWidth);
  Outline(layer, kInk, corners);
  Over(dst, layer, x, y);
}

bool WritePng8(const std::string& path, const Image& im) {
  return WritePng(path, im, 8, std::vector<Rgb>(kPalette.begin(), kPalette.end()));
}

bool WritePng4(const std::string& path, const Image& im, const std::vector<Rgb>& palette) {
  return WritePng(path, im, 4, palette);
}

std::uint32_t Dice::Next() {
  // xorshift32: small, fixed and ours.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

std::uint32_t Hash(int x, int y, int salt) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(salt) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

}  // namespace quorin::art
