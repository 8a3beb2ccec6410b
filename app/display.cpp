#include "app/display.h"

#include <cmath>

#include "runtime/numeric.h"

namespace quorin {

float AspectOfCode(std::int32_t code, bool allowTwoToOne) {
  switch (code) {
    case 1: return 1.25f;
    case 2: return 4.0f / 3.0f;
    case 3: return 1.6f;
    case 4: return 16.0f / 9.0f;
    case 5: return allowTwoToOne ? 2.0f : 0.0f;
    default: return 0.0f;
  }
}

void ComputeAspects(Game& game) {
  ShellState& shell = game.shell;
  const Settings& s = game.settings;
  shell.displayAspect = AspectOfCode(s.FullscreenAspect, false);
  if (shell.displayAspect == 0.0f) {
    shell.displayAspect = shell.desktopHeight != 0
                              ? static_cast<float>(shell.desktopWidth) / static_cast<float>(shell.desktopHeight)
                              : 4.0f / 3.0f;  // no desktop size: keep the picture sane
  }
  shell.internalAspect = AspectOfCode(s.InternalAspect, true);
  if (shell.internalAspect == 0.0f) shell.internalAspect = shell.displayAspect;
  shell.internalHeight = static_cast<std::int32_t>(RoundDouble(kPictureWidth / shell.internalAspect, 2));
}

std::int32_t WindowHeightFor(std::int32_t windowWidth, float internalAspect) {
  return static_cast<std::int32_t>(RoundDouble(static_cast<double>(windowWidth) / internalAspect, 2));
}

}  // namespace quorin
