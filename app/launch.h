// What the command line asks of a game: a world of one's own, a recording of
// the run, or a replay of one. main() hands the real devices here.
#pragma once

#include "app/command_line.h"
#include "app/game_main.h"

namespace quorin {

inline constexpr int kLaunchError = 1;

// Runs GameMain on the platform as the options ask. A world file that cannot
// be played, a script that cannot be read or a recording that cannot be
// written shows the "Error" message box with the reason and returns
// kLaunchError before anything else starts (the user file is not touched).
int PlayGame(Game& game, const Platform& platform, const LaunchOptions& launch);

}  // namespace quorin
