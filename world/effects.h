// Shots, particles, floating texts and pickups: their inserts and their
// per-frame motion.
#pragma once

#include <cstdint>
#include <string_view>

#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

// Inserts at each list's cursor, zero-filled first (age 0).
void AddParticle(World& world, std::int32_t frame, std::int32_t x, std::int32_t y, std::int32_t vx,
                 std::int32_t ax, std::int32_t vy, std::int32_t ay);
void AddPickup(World& world, std::int32_t kind, std::int32_t variant, std::int32_t x, std::int32_t y,
               std::int32_t vx, std::int32_t vy, std::int32_t timer);
void AddFloatingText(World& world, std::string_view text, std::int32_t glyphBase, std::int32_t spacing,
                     std::int32_t x, std::int32_t y, std::int32_t vy, std::int32_t vyAccel, std::int32_t life);

// One frame each, in the order the frame driver calls them.
void UpdatePlayerShots(World& world);
void UpdatePickups(World& world, PlayHost& host);
void UpdateParticles(World& world);
void UpdateFloatingTexts(World& world);

}  // namespace quorin
