// Checkpoints, gems, power and fruits: the game's economy and goals.
#pragma once

#include <cstdint>
#include <string_view>

#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

// The text shown when fruit n (1..8) is collected; empty for other numbers.
std::string_view FruitName(std::int32_t number);

// Makes (column, row) the current checkpoint; the current one again does nothing.
void SetCheckpoint(World& world, PlayHost& host, std::int32_t column, std::int32_t row);
// Gems adding up to total, sprayed upward from (x, y).
void SpillGems(World& world, std::int32_t total, std::int32_t x, std::int32_t y);
void SpawnGem(World& world, std::int32_t total, std::int32_t k, std::int32_t seed, std::int32_t x, std::int32_t y);
// powerLevel from power, announced when it changes.
void UpdatePowerLevel(World& world, PlayHost& host);
// The collection tests of UpdatePickups: true when the pickup was collected
// (the caller removes it).
bool CollectGem(World& world, PlayHost& host, const Pickup& gem);
bool CollectFruit(World& world, PlayHost& host, const Pickup& fruit);

}  // namespace quorin
