// PNG from and to memory through libpng. Decoding serves the embedded sprite
// sheets and pictures; encoding serves screenshots and tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runtime/surface.h"

namespace quorin {

// Largest width or height a decoded image may have.
constexpr std::int32_t kPngMaxSide = 16384;

struct DecodedImage {
  Surface pixels;         // red low, alpha in the top byte (255 where the image has none)
  bool hasAlpha = false;  // an alpha channel or a transparency chunk
};

bool IsPngData(std::span<const unsigned char> data);
// Every colour type ends as 8-bit RGB(A): palette and grey expanded, 16-bit
// channels stripped to their high byte, interlace undone, no gamma applied.
// False for anything corrupt or truncated; out is then untouched.
bool DecodePng(std::span<const unsigned char> data, DecodedImage& out);

// 8-bit RGB, or RGBA when withAlpha. Empty on failure.
std::vector<unsigned char> EncodePng(const Surface& surface, bool withAlpha = false);
bool SavePng(const Surface& surface, const std::string& path, bool withAlpha = false);

}  // namespace quorin
