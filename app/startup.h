// Start-up work shared by the game and the headless driver.
#pragma once

#include "flow/game.h"

namespace quorin {

// Creates the game's lists and arrays, in start-up order.
void CreateContainers(Game& game);

}  // namespace quorin
