// The picture of play: background, terrain, the hero, everything that moves,
// and the HUD, as draw requests.
#pragma once

namespace quorin {

struct Game;

// Called by GameFrame in the playing, paused and both closing states, after
// that frame's updates. Only appends to the draw queues, with one exception:
// choosing the hero's body frame writes anim and fallFrames, which time the
// footsteps and lift the muzzle.
void DrawWorld(Game& game);

}  // namespace quorin
