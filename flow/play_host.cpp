#include "flow/play_host.h"

#include "flow/game.h"
#include "flow/game_states.h"
#include "flow/sound_cues.h"

namespace quorin {

void GamePlayHost::StartSound(std::int32_t id) { StartSoundCue(game_, id); }

void GamePlayHost::EnterState(std::int32_t state) { quorin::EnterState(game_, state); }

std::int32_t& GamePlayHost::MaxBounce() { return game_.options.MaxBounce; }

}  // namespace quorin
