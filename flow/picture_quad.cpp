#include "flow/picture_quad.h"

#include <cmath>

#include "flow/game.h"

namespace quorin {

namespace {
// Halves to even, as the display layer has always rounded.
std::int32_t RoundEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }
}  // namespace

PictureQuad ComputePictureQuad(const Game& game) {
  const ShellState& shell = game.shell;
  if (game.settings.Windowed != 0) {
    return {game.settings.Windowwidth, game.settings.Windowwidth, 0, 0};
  }
  const double sw = shell.screenWidth;
  const double sh = shell.screenHeight;
  const double display = shell.displayAspect;
  const double internal = shell.internalAspect;
  if (shell.internalAspect == shell.displayAspect) {
    return {shell.screenWidth, RoundEven(sh * display), 0, 0};
  }
  if (shell.internalAspect > shell.displayAspect) {  // bars above and below
    const double pictureHeight = sh * display / internal;
    return {shell.screenWidth, RoundEven(pictureHeight * internal), 0, RoundEven((sh - pictureHeight) / 2)};
  }
  const double pictureWidth = sw * internal / display;  // bars left and right
  return {RoundEven(pictureWidth), RoundEven(sh * internal), RoundEven((sw - pictureWidth) / 2), 0};
}

}  // namespace quorin
