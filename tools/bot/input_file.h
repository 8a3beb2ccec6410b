// The bot's presses as a quorin-sim run input file: the title's START chosen
// with the pointer, then every key change of play at its main-loop iteration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorin::bot {

// START is clicked on iteration 4; iteration 5 is the first frame of play.
inline constexpr std::int64_t kFirstPlayIteration = 5;
// The run pauses once, after this frame of play, for this many iterations
// (the pause menu is part of what the recorded run shows). Held keys stay as
// they are, so the pause changes nothing of play.
inline constexpr std::int64_t kPauseAfterFrame = 4000;
inline constexpr std::int64_t kPauseIterations = 40;
// After the planet-saved scene has ended by itself (1024 frames and the one
// that ends it), Escape on the title quits the game.
inline constexpr std::int64_t kQuitAfterScene = 1100;

// The text of the input file for these frames of play. When `planetSaved`,
// the last frame is the one that collects the eighth fruit, and the file goes
// on to quit from the title once the scene is over. Runs longer than the
// pause frame pause there.
std::string InputFileText(const std::vector<std::uint8_t>& keys, bool planetSaved);

// The main-loop iteration of frame k of play (from 0) in a run of playFrames.
std::int64_t IterationOfFrame(std::int64_t k, std::size_t playFrames);
// The iteration on which the file presses Escape on the title (planet saved).
std::int64_t QuitIteration(std::size_t playFrames);

}  // namespace quorin::bot
