// The PNG decoder on any bytes: it refuses or gives an image of the promised
// shape, and never reads outside the data.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "runtime/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quorin::DecodedImage image;
  if (!quorin::DecodePng(std::span<const unsigned char>(data, size), image)) return 0;
  const quorin::Surface& s = image.pixels;
  if (s.width <= 0 || s.height <= 0 || s.width > quorin::kPngMaxSide || s.height > quorin::kPngMaxSide) std::abort();
  if (s.pixels.size() != static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height)) std::abort();
  return 0;
}
