// The pointer-driven menus of the title, options and pause screens, and the
// fixed artwork and texts of the title and options screens.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace quorin {

struct Game;

struct MenuEntry {
  std::int32_t id;  // what the entry does; never 0
  std::int32_t x;   // top-left of the label on the picture
  std::int32_t y;
  std::int32_t width;
  std::int32_t height;
  Text text;
};

// Entry ids the game flow acts on.
enum MenuId : std::int32_t {
  kMenuStart = 1,
  kMenuOptions = 2,
  kMenuExit = 4,
  kMenuFullscreen = 6,
  kMenuSmoothing = 7,
  kMenuVolumeOff = 17,  // 17..21: OFF, LOW, MEDIUM, HIGH, MAX
  kMenuVolumeMax = 21,
  kMenuReturn = 22,
  kMenuResume = 23,
  kMenuExitToTitle = 24,
};

// Empties the menu and fills it with the entries of the current state.
void BuildMenu(Game& game);
// Finds the entry under the pointer (edges included) and queues every label,
// the hovered one in the bold white font.
void MenuPass(Game& game);
void QueueTitleScreen(Game& game);
void QueueOptionsScreen(Game& game);
// Acts on the hovered entry of the options screen.
void ApplyOptionChoice(Game& game);

}  // namespace quorin
