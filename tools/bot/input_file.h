// The bot's presses as a quorin-sim run input file: the title's START chosen
// with the pointer, then every key change of play at its main-loop iteration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::bot {

// START is clicked on iteration 4; iteration 5 is the first frame of play.
inline constexpr std::int64_t kFirstPlayIteration = 5;
// After the planet-saved scene has ended by itself (1024 frames and the one
// that ends it), Escape on the title quits the game.
inline constexpr std::int64_t kQuitAfterScene = 1100;

// The text of the input file for these frames of play. When `planetSaved`,
// the last frame is the one that collects the eighth fruit, and the file goes
// on to quit from the title once the scene is over.
std::string InputFileText(const std::vector<std::uint8_t>& keys, bool planetSaved);

// The iteration on which the file presses Escape on the title (planet saved).
std::int64_t QuitIteration(std::size_t playFrames);

}  // namespace quorin::bot
