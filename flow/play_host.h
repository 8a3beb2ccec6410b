// The flow's side of play: what PlayerUpdate, the pickups and the monsters
// ask of the game around them, answered from the Game.
#pragma once

#include <cstdint>

#include "world/play_host.h"

namespace quorin {

struct Game;

// Made by GameFrame for the updates of one frame.
class GamePlayHost final : public PlayHost {
 public:
  explicit GamePlayHost(Game& game) : game_(game) {}
  // Started through StartSoundCue, so the frame's mask records it.
  void StartSound(std::int32_t id) override;
  // The flow's EnterState, at once.
  void EnterState(std::int32_t state) override;
  // The best bounce count kept with the user settings.
  std::int32_t& MaxBounce() override;

 private:
  Game& game_;
};

}  // namespace quorin
