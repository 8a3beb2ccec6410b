// The hero: walking, the ball, bursting, being hurt and coming back.
#pragma once

#include <cstdint>

#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

// Every new-game value of the hero; the fields that carry over keep theirs.
void PlayerNewGame(Player& player);
// One frame of the hero, then UpdateCamera.
void PlayerUpdate(World& world, PlayHost& host);
// kind 1 landed on a hazard, 2 hit one from below, 3 a monster, 4 a monster shot.
void PlayerHit(World& world, PlayHost& host, std::int32_t kind);
// End of the burst countdown: back at the current checkpoint.
void PlayerRespawn(World& world);
// Hover fuel limit for the current power level.
inline std::int32_t HoverFuelLimit(const Player& player) { return player.powerLevel * 24 + 48; }

}  // namespace quorin
