// The monsters and their shots.
#pragma once

#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

// One frame of every monster inside the active window.
void UpdateEnemies(World& world, PlayHost& host);
// One frame of every monster shot.
void UpdateEnemyShots(World& world, PlayHost& host);

}  // namespace quorin
