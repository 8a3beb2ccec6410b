// The real game in a test's own X server: started, and its window found.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace quorin::testing {

// Starts the game (its arguments after the program) on the display and
// waits for its window; returns the window's id, focused, or empty when none
// came (game is then -1 if the game ended). What the game prints goes to
// game-errors.txt and, when no window comes, into the test's output.
inline std::string StartGameWindow(const XServer& x, pid_t& game,
                                   const std::vector<std::string>& options = {},
                                   const std::vector<std::string>& extraEnv = {}) {
  using namespace std::chrono_literals;
  std::vector<std::string> args = {QUORIN_GAME_PATH};
  args.insert(args.end(), options.begin(), options.end());
  // SDL's X11 and D-Bus libraries keep allocations until the process ends,
  // so a sanitizer build checks leaks in the headless runs, not here.
  std::vector<std::string> env = {"DISPLAY=" + x.display, "SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=x11",
                                  "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"};
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  game = Spawn(args, env, "game-errors.txt");
  // A renderer that needs another kind of window makes SDL replace the
  // first one: the window counts once the same one is shown twice in a row.
  std::string id, seen;
  for (int k = 0; k < 600 && id.empty(); ++k) {
    std::string found = x.Run("xdotool search --onlyvisible --name '^Quorin$' | head -1");
    while (!found.empty() && (found.back() == '\n' || found.back() == ' ')) found.pop_back();
    if (!found.empty() && found == seen) id = found;
    seen = found;
    if (id.empty()) {
      int status = 0;
      if (::waitpid(game, &status, WNOHANG) == game) {
        game = -1;
        break;
      }
      std::this_thread::sleep_for(100ms);
    }
  }
  if (id.empty()) {
    std::printf("no window; the game's errors:\n%s\n", ReadFile("game-errors.txt").c_str());
    return id;
  }
  x.Run("xdotool windowfocus --sync " + id);
  std::this_thread::sleep_for(300ms);
  return id;
}

}  // namespace quorin::testing
