// Where the square picture texture goes on the window or screen, with bars
// where the shapes of picture and display differ.
#pragma once

#include <cstdint>

namespace quorin {

struct Game;

struct PictureQuad {
  std::int32_t width;
  std::int32_t height;
  std::int32_t left;
  std::int32_t top;
};

// The quad is square, like its texture: only its top internalHeight / 512
// carries the picture, and that part covers exactly the picture area.
PictureQuad ComputePictureQuad(const Game& game);

}  // namespace quorin
