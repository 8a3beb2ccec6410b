#include "tools/soundgen/waveform_png.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace quorin::soundgen {
namespace {

constexpr int kImageWidth = 1024;
constexpr int kMargin = 10;
constexpr int kTextScale = 2;
constexpr int kLabelHeight = kGlyphHeight * kTextScale;
constexpr int kLabelGap = 4;
constexpr int kWaveHeight = 72;
constexpr int kStripGap = 12;
constexpr int kStripHeight = kLabelHeight + kLabelGap + kWaveHeight + kStripGap;
constexpr double kFullScale = 32768.0;

struct Rgb {
  std::uint8_t r, g, b;
};
constexpr Rgb kBackground = {22, 24, 30};
constexpr Rgb kPanel = {34, 38, 48};
constexpr Rgb kAxis = {70, 76, 92};
constexpr Rgb kFullScaleLine = {110, 50, 50};
constexpr Rgb kPeakColour = {90, 170, 200};
constexpr Rgb kRmsColour = {190, 235, 250};
constexpr Rgb kText = {235, 235, 225};

struct FontEntry {
  char c;
  std::array<std::uint8_t, kGlyphHeight> rows;
};

constexpr std::array<FontEntry, 44> kFont = {{
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}},
    {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {' ', {0, 0, 0, 0, 0, 0, 0}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
}};

class Canvas {
 public:
  explicit Canvas(RgbImage& image) : image_(image) {}
  void Put(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
    std::uint8_t* p = &image_.rgb[(static_cast<std::size_t>(y) * image_.width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  void Fill(int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) Put(i, j, c);
  }
  void Text(int x, int y, std::string_view text, Rgb c) {
    for (char ch : text) {
      if (const std::uint8_t* rows = Glyph(ch)) {
        for (int row = 0; row < kGlyphHeight; ++row)
          for (int col = 0; col < kGlyphWidth; ++col)
            if (rows[row] & (0x10 >> col))
              Fill(x + col * kTextScale, y + row * kTextScale, kTextScale, kTextScale, c);
      }
      x += (kGlyphWidth + 1) * kTextScale;
    }
  }

 private:
  RgbImage& image_;
};

// Sample value to a row of a panel at top with the given height.
int RowOf(double value, int top, int height) {
  const double mid = top + (height - 1) / 2.0;
  return static_cast<int>(std::lround(mid - value * (height - 1) / 2.0));
}

void DrawStrip(Canvas& canvas, const StripSound& sound, int top) {
  canvas.Text(kMargin, top, StripLabel(sound), kText);
  const int panelTop = top + kLabelHeight + kLabelGap;
  const int panelWidth = kImageWidth - 2 * kMargin;
  canvas.Fill(kMargin, panelTop, panelWidth, kWaveHeight, kPanel);
  canvas.Fill(kMargin, panelTop, panelWidth, 1, kFullScaleLine);
  canvas.Fill(kMargin, panelTop + kWaveHeight - 1, panelWidth, 1, kFullScaleLine);
  canvas.Fill(kMargin, RowOf(0.0, panelTop, kWaveHeight), panelWidth, 1, kAxis);
  const std::size_t n = sound.samples.size();
  if (n == 0) return;
  // Each column shows its samples' extremes, and their RMS as a brighter core.
  for (int x = 0; x < panelWidth; ++x) {
    const std::size_t from = n * static_cast<std::size_t>(x) / static_cast<std::size_t>(panelWidth);
    const std::size_t to =
        std::max(from + 1, n * static_cast<std::size_t>(x + 1) / static_cast<std::size_t>(panelWidth));
    double lo = 1.0, hi = -1.0, sum = 0.0;
    for (std::size_t i = from; i < to && i < n; ++i) {
      const double v = sound.samples[i] / kFullScale;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
      sum += v * v;
    }
    if (hi < lo) continue;
    const double rms = std::sqrt(sum / static_cast<double>(to - from));
    const int y0 = RowOf(hi, panelTop, kWaveHeight);
    const int y1 = RowOf(lo, panelTop, kWaveHeight);
    canvas.Fill(kMargin + x, y0, 1, y1 - y0 + 1, kPeakColour);
    const int r0 = RowOf(std::min(rms, hi), panelTop, kWaveHeight);
    const int r1 = RowOf(std::max(-rms, lo), panelTop, kWaveHeight);
    if (r1 >= r0) canvas.Fill(kMargin + x, r0, 1, r1 - r0 + 1, kRmsColour);
  }
}

}  // namespace

const std::uint8_t* Glyph(char c) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const FontEntry& e : kFont) {
    if (e.c == upper) return e.rows.data();
  }
  return nullptr;
}

std::string StripLabel(const StripSound& sound) {
  const double seconds = sound.rate > 0 ? static_cast<double>(sound.samples.size()) / sound.rate : 0.0;
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%02d  %s  %.3f S  (%zu SAMPLES)", sound.id, sound.event.c_str(),
                seconds, sound.samples.size());
  return buffer;
}

RgbImage RenderWaveforms(const std::vector<StripSound>& sounds) {
  RgbImage image;
  image.width = kImageWidth;
  image.height = 2 * kMargin + static_cast<int>(sounds.size()) * kStripHeight - kStripGap;
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  Canvas canvas(image);
  canvas.Fill(0, 0, image.width, image.height, kBackground);
  for (std::size_t k = 0; k < sounds.size(); ++k) {
    DrawStrip(canvas, sounds[k], kMargin + static_cast<int>(k) * kStripHeight);
  }
  return image;
}

bool WritePng(const std::string& path, const RgbImage& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, &image.rgb[static_cast<std::size_t>(y) * image.width * 3]);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace quorin::soundgen
