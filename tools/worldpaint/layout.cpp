#include "tools/worldpaint/layout.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace quorin::worldpaint {

bool ReadLayoutPng(const std::string& path, Layout& out) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  Layout layout(static_cast<int>(image.width), static_cast<int>(image.height));
  for (std::size_t i = 0; i < layout.px.size(); ++i)
    layout.px[i] = Pack(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  out = std::move(layout);
  return true;
}

bool WriteLayoutPng(const std::string& path, const Layout& layout) {
  std::vector<png_byte> index(layout.px.size());
  for (std::size_t i = 0; i < layout.px.size(); ++i) {
    std::size_t k = 0;
    while (k < kLayoutColours.size() && kLayoutColours[k] != layout.px[i]) ++k;
    if (k == kLayoutColours.size()) return false;
    index[i] = static_cast<png_byte>(k);
  }
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
  png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width), static_cast<png_uint_32>(layout.height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> colours;
  for (std::uint32_t c : kLayoutColours)
    colours.push_back({static_cast<png_byte>(c & 255), static_cast<png_byte>(c >> 8 & 255),
                       static_cast<png_byte>(c >> 16 & 255)});
  png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < layout.height; ++y) png_write_row(png, &index[static_cast<std::size_t>(y) * layout.width]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace quorin::worldpaint
