// The bot's game: the real Game record prepared as start-up prepares it for
// play, stepped one frame at a time through GameFrame with the controls the
// keyboard would give, and rewound from light snapshots.
#pragma once

#include <cstdint>
#include <memory>

#include "flow/game.h"
#include "runtime/null/audio_null.h"

namespace quorin::bot {

// The keys the bot holds in a frame, one bit each.
enum Key : std::uint8_t {
  kHoldLeft = 1,
  kHoldRight = 2,
  kHoldUp = 4,
  kHoldDown = 8,
  kHoldJump = 16,  // button 1 (Z)
  kHoldFire = 32,  // button 2 (X)
};
inline constexpr int kKeyBits = 6;

// Everything a played frame can change. The constant tables and the maps stay
// in the live game; of the maps only the current checkpoint's tile changes in
// play, and Restore puts it back.
struct Snapshot {
  World world;  // without its tables and maps
  std::int32_t gameState = 0;
  std::int32_t displayedScore = 0;
  std::int32_t hoverSoundOn = 0;
  std::int32_t maxBounce = 0;
  std::int32_t previousButton1 = 0;
  std::int32_t previousButton2 = 0;
  std::int64_t frames = 0;
};

class BotGame {
 public:
  // Prepares the tables as start-up does and enters a new game, as the title's
  // START does. internalHeight is the picture height of the display played on.
  explicit BotGame(std::int32_t internalHeight = 384);
  ~BotGame();
  BotGame(const BotGame&) = delete;
  BotGame& operator=(const BotGame&) = delete;

  // One playing frame with these keys held.
  void Step(std::uint8_t keys);

  void Save(Snapshot& out) const;
  void Restore(const Snapshot& from);

  const World& world() const { return game_->world; }
  std::int32_t state() const { return game_->flow.GameState; }
  // Frames played since the new game.
  std::int64_t frames() const { return frames_; }

 private:
  // Moves the big constant arrays between the live world and a holder.
  void SwapTables(World& other) const;

  std::unique_ptr<Game> game_;
  NullAudioDevice audio_;
  // Button 1 is still down from the START click on the first frame of play.
  std::int32_t previousButton1_ = 1;
  std::int32_t previousButton2_ = 0;
  std::int64_t frames_ = 0;
  mutable World holder_;
};

}  // namespace quorin::bot
