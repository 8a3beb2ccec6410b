// The game's desktop icon: the standing hero cut from the actors sheet,
// on a transparent square, scaled to the usual icon sizes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/surface.h"

namespace quorin {

inline constexpr std::array<std::int32_t, 7> kIconSizes{16, 24, 32, 48, 64, 128, 256};

// The hero (legs under the body, key colour made transparent) centred on a
// square with a small margin; alpha in the top byte. Empty when the sheet is
// too small to hold the hero's frames.
Surface HeroIcon(const Surface& actorsSheet);
// src (square) to size x size: whole-pixel blocks when enlarging, so the
// pixel art stays sharp; an alpha-weighted average of the covered area when
// shrinking.
Surface ScaleIcon(const Surface& src, std::int32_t size);

// The icon at the Windows sizes as one .ico file, each size PNG-compressed
// (what the Windows program's resource carries).
inline constexpr std::array<std::int32_t, 5> kWindowsIconSizes{16, 24, 32, 48, 256};
std::vector<unsigned char> WindowsIconFile(const Surface& hero);

}  // namespace quorin
