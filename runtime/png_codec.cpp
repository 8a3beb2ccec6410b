#include "runtime/png_codec.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "runtime/host.h"

namespace quorin {

namespace {

// Keeps a hostile header from asking for gigabytes.
constexpr std::uint64_t kPngMaxPixels = std::uint64_t{1} << 26;
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// libpng reports errors by longjmp back to the setjmp of the decoding frame;
// nothing is printed.
[[noreturn]] void PngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

struct MemoryReader {
  const unsigned char* data;
  std::size_t size;
  std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->size - reader->pos) png_error(png, "truncated");
  std::memcpy(out, reader->data + reader->pos, count);
  reader->pos += count;
}

// Everything the decoding frame touches lives here, outside the frame that
// longjmp returns to, so no value is left indeterminate and no destructor is
// skipped.
struct DecodeJob {
  MemoryReader reader;
  png_structp png = nullptr;
  png_infop info = nullptr;
  Surface* pixels = nullptr;
  std::vector<png_bytep>* rows = nullptr;
  bool hasAlpha = false;
};

// Plain C-style frame: only DecodeJob is written after setjmp.
bool RunDecode(DecodeJob* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_structp png = job->png;
  png_infop info = job->info;
  png_set_read_fn(png, &job->reader, ReadFromMemory);
  png_set_user_limits(png, kPngMaxSide, kPngMaxSide);
  png_read_info(png, info);

  const png_byte colourType = png_get_color_type(png, info);
  const png_byte bitDepth = png_get_bit_depth(png, info);
  job->hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    job->hasAlpha = true;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if (!job->hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || std::uint64_t{width} * height > kPngMaxPixels ||
      png_get_rowbytes(png, info) != width * 4) {
    png_error(png, "layout");
  }
  job->pixels->width = static_cast<std::int32_t>(width);
  job->pixels->height = static_cast<std::int32_t>(height);
  job->pixels->pixels.assign(static_cast<std::size_t>(width) * height, 0);
  job->rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    (*job->rows)[y] = reinterpret_cast<png_bytep>(job->pixels->Row(static_cast<std::int32_t>(y)));
  }
  png_read_image(png, job->rows->data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool IsPngData(std::span<const unsigned char> data) {
  return data.size() >= sizeof kPngSignature &&
         std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0;
}

bool DecodePng(std::span<const unsigned char> data, DecodedImage& out) {
  if (!IsPngData(data)) return false;
  Surface pixels;
  std::vector<png_bytep> rows;
  DecodeJob job{{data.data(), data.size(), 0}};
  job.pixels = &pixels;
  job.rows = &rows;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!job.png) return false;
  job.info = png_create_info_struct(job.png);
  bool ok = job.info != nullptr;
  if (ok) {
    try {
      ok = RunDecode(&job);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, nullptr);
  if (!ok) return false;
  if constexpr (std::endian::native == std::endian::big) {
    // Bytes arrived R, G, B, A; a pixel keeps red in its low byte.
    for (std::uint32_t& p : pixels.pixels) {
      p = (p >> 24) | ((p >> 8) & 0xFF00) | ((p << 8) & 0xFF0000) | (p << 24);
    }
  }
  out.pixels = std::move(pixels);
  out.hasAlpha = job.hasAlpha;
  return true;
}

namespace {

void WriteToMemory(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}
void FlushNothing(png_structp) {}

struct EncodeJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  const Surface* surface = nullptr;
  std::vector<unsigned char>* out = nullptr;
  std::vector<unsigned char>* row = nullptr;
  bool withAlpha = false;
};

bool RunEncode(EncodeJob* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_structp png = job->png;
  const Surface& s = *job->surface;
  const int channels = job->withAlpha ? 4 : 3;
  png_set_write_fn(png, job->out, WriteToMemory, FlushNothing);
  png_set_IHDR(png, job->info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height), 8,
               job->withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, job->info);
  job->row->resize(static_cast<std::size_t>(s.width) * channels);
  for (std::int32_t y = 0; y < s.height; ++y) {
    const std::uint32_t* src = s.Row(y);
    unsigned char* dst = job->row->data();
    for (std::int32_t x = 0; x < s.width; ++x) {
      const std::uint32_t p = src[x];
      *dst++ = static_cast<unsigned char>(p);
      *dst++ = static_cast<unsigned char>(p >> 8);
      *dst++ = static_cast<unsigned char>(p >> 16);
      if (job->withAlpha) *dst++ = static_cast<unsigned char>(p >> 24);
    }
    png_write_row(png, job->row->data());
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::vector<unsigned char> EncodePng(const Surface& surface, bool withAlpha) {
  std::vector<unsigned char> out;
  if (surface.width <= 0 || surface.height <= 0) return out;
  std::vector<unsigned char> row;
  EncodeJob job;
  job.surface = &surface;
  job.out = &out;
  job.row = &row;
  job.withAlpha = withAlpha;
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!job.png) return {};
  job.info = png_create_info_struct(job.png);
  bool ok = job.info != nullptr && RunEncode(&job);
  png_destroy_write_struct(&job.png, job.info ? &job.info : nullptr);
  if (!ok) out.clear();
  return out;
}

bool SavePng(const Surface& surface, const std::string& path, bool withAlpha) {
  const std::vector<unsigned char> bytes = EncodePng(surface, withAlpha);
  if (bytes.empty()) return false;
  std::FILE* file = OpenFile(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace quorin
