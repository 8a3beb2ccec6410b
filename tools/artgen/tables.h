// The small binary tables the game embeds next to the images.
#pragma once

#include <array>
#include <string>

namespace quorin::art {

// Muzzle offsets from the hero point for aim directions 0..7 (right, then
// clockwise): dx0, dy0, dx1, dy1, ...
inline constexpr std::array<int, 16> kAimOffsets{18,  3, 16,  12,  1, 20,  -14, 12,
                                                 -18, 3, -16, -12, 1, -18, 18,  -12};

// Advance in pixels of glyph g (0..1023); the fonts are drawn to fit these.
int GlyphAdvancePixels(int g);

// glyph_widths.bin: 1024 little-endian floats, advance / 16 each, so that
// trunc(fraction * 16) gives the advance back exactly.
bool WriteGlyphWidths(const std::string& path);
// aim_offsets.bin: the muzzle offsets of the eight aim directions, (dx, dy)
// pairs as little-endian int32, direction 0 first.
bool WriteAimOffsets(const std::string& path);

}  // namespace quorin::art
