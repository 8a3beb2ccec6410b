// The game's state machine: EnterState is the one way into a state (the pause
// menu's resume is the exception), GameFrame one step of the current state.
#pragma once

#include <cstdint>

#include "world/play_host.h"

namespace quorin {

struct Game;

inline constexpr float kSlowPointerFactor = 0.4f;  // while button 2 is held on a menu

// Leaves the current state and enters n, with n's entry work and menu.
void EnterState(Game& game, std::int32_t n);
// One frame of the current state; called once per active main-loop iteration.
void GameFrame(Game& game);

}  // namespace quorin
