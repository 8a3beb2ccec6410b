// The render pass: draws the four draw queues onto the canvas in a fixed layer
// order and puts the canvas on the window or screen as one scaled quad.
#pragma once

namespace quorin {

struct Game;

// The main loop calls it once in every iteration that draws, after the game
// flow has filled the queues and before it empties them. Layers, bottom to
// top: tiles, frames, sheet clips, texts, the pointer; within a layer the
// order of queueing. Presenting the result is the next iteration's business.
void RenderFrame(Game& game);

}  // namespace quorin
