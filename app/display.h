// Display geometry: the shape of the physical display and of the picture.
#pragma once

#include "flow/game.h"

namespace quorin {

// Aspect of an aspect code (1 5:4, 2 4:3, 3 16:10, 4 16:9, 5 2:1); 0 for other codes.
float AspectOfCode(std::int32_t code, bool allowTwoToOne);

// displayAspect, internalAspect and internalHeight from the settings and the desktop size.
void ComputeAspects(Game& game);
// Client height of the game window for Windowwidth.
std::int32_t WindowHeightFor(std::int32_t windowWidth, float internalAspect);

}  // namespace quorin
