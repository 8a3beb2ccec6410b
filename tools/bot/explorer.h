// One leg of the run: from a saved state, search the real game frames for a
// way to the next fruit. States are kept one per region of the map (the best
// found there); the search keeps picking a kept state near the goal, plays a
// random macro-action from it (run, jump, double jump, hover, fire in eight
// directions, a burst) and keeps what it reaches.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/bot/bot_game.h"
#include "tools/bot/route.h"

namespace quorin::bot {

// The bot's own generator (xorshift): seeded, so every run is the same.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 11);
  }
  // 0..n-1
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint64_t state_;
};

struct LegOptions {
  std::int64_t maxExpansions = 40000;
  // A hurt (the ball) is allowed while the hero has power, at a price.
  bool allowHurt = true;
  // Prints a line of progress every this many expansions (0: never).
  std::int64_t reportEvery = 2000;
};

struct LegResult {
  bool reached = false;
  std::vector<std::uint8_t> keys;  // the frames pressed, from the leg's start
  std::int64_t expansions = 0;
  std::int64_t framesSimulated = 0;
  std::int32_t bestDistance = kFar;
  std::int32_t bestColumn = 0, bestRow = 0;
  std::int32_t hurts = 0;  // balls on the chosen way
};

// Goal test after each frame: true when the leg is won.
using GoalTest = std::function<bool(const BotGame&)>;

// Searches from the game's current state; the game is left in the winning
// state when one is found, else at the start state.
LegResult SearchLeg(BotGame& game, const DistanceField& field, const GoalTest& goal, const LegOptions& options,
                    Dice& dice);

// The macro-action's frames: keys for each frame given the keys held before.
std::vector<std::uint8_t> MakeMacro(Dice& dice, std::uint8_t previousKeys);

}  // namespace quorin::bot
