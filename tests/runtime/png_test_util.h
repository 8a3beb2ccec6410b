// PNG files of every colour type, written with libpng inside the tests.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace quorin::testing {

struct PngRecipe {
  int width = 0;
  int height = 0;
  int colourType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS of a palette image
  bool greyKey = false;                // tRNS of a grey image: this grey is transparent
  png_uint_16 greyKeyValue = 0;
  std::vector<std::vector<png_byte>> rows;  // packed as the file stores them
};

inline void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

inline std::vector<unsigned char> WritePng(const PngRecipe& r) {
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  for (const auto& row : r.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_IHDR(png, info, r.width, r.height, r.bitDepth, r.colourType,
               r.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!r.palette.empty()) png_set_PLTE(png, info, r.palette.data(), static_cast<int>(r.palette.size()));
  if (!r.paletteAlpha.empty()) {
    png_set_tRNS(png, info, r.paletteAlpha.data(), static_cast<int>(r.paletteAlpha.size()), nullptr);
  }
  if (r.greyKey) {
    png_color_16 key{};
    key.gray = r.greyKeyValue;
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  // A gamma chunk that a gamma-correcting decoder would act on.
  png_set_gAMA(png, info, 0.8);
  png_write_info(png, info);
  if (r.interlaced) png_set_interlace_handling(png);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A w x h 8-bit RGB image from red-low colour values.
inline std::vector<unsigned char> RgbPng(int w, int h, const std::vector<std::uint32_t>& colours,
                                         bool interlaced = false) {
  PngRecipe r;
  r.width = w;
  r.height = h;
  r.interlaced = interlaced;
  for (int y = 0; y < h; ++y) {
    std::vector<png_byte> row;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = colours[static_cast<std::size_t>(y * w + x)];
      row.push_back(static_cast<png_byte>(c));
      row.push_back(static_cast<png_byte>(c >> 8));
      row.push_back(static_cast<png_byte>(c >> 16));
    }
    r.rows.push_back(row);
  }
  return WritePng(r);
}

}  // namespace quorin::testing
