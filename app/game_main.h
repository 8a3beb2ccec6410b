// The spine of the program: start-up, the main loop and shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "flow/game.h"

namespace quorin {

inline constexpr std::uint32_t kFramePeriodMs = 16;
inline constexpr std::uint32_t kSkippedFramePeriodMs = 32;  // FrameSkip: drawn every other step
inline constexpr std::uint32_t kPacingSleepMs = 1;
inline constexpr std::uint32_t kUnfocusedSleepMs = 40;
inline constexpr std::int32_t kStartupVolume = 3;
inline constexpr std::int32_t kWindowCloseEvent = 16;

// Lets the headless driver and tests watch and steer the loop without
// changing what one iteration does.
struct MainLoopHooks {
  // Before iteration k (from 0); false ends the loop as if the game quit.
  std::function<bool(Game&, std::int64_t)> beforeIteration;
  std::function<void(Game&, std::int64_t)> afterIteration;
  // After each step of start-up, named as the step's operation (the
  // measurements of start-up hang here).
  std::function<void(Game&, std::string_view)> afterStartupStep;
  // Around the game-flow step of an active iteration; the draw queues still
  // hold what it queued when afterGameFrame runs.
  std::function<void(Game&)> beforeGameFrame;
  // Right before the controls are read in an active iteration (a recording
  // takes the devices' state here).
  std::function<void(Game&)> beforeControls;
  std::function<void(Game&)> afterGameFrame;
};

// Runs the whole program on the given platform: start-up, the loop until the
// quit flag, the user file, shutdown. Returns the process exit code (0, also
// after a fatal error, which skips saving the user file).
int GameMain(Game& game, const Platform& platform, const MainLoopHooks& hooks = {});

// GameMain in three parts, for a host that owns the loop (the browser calls
// one iteration per animation frame). GameStart is start-up up to the title
// (false: it failed and has shut down); GameIterate runs iteration k and is
// false once the loop is over; GameFinish saves and shuts down.
bool GameStart(Game& game, const Platform& platform, const MainLoopHooks& hooks = {});
bool GameIterate(Game& game, const MainLoopHooks& hooks, std::int64_t iteration);
void GameFinish(Game& game);
// How long the next iteration's pacing would wait from now: a host that must
// not block runs the iteration only when this is 0.
std::uint32_t MsUntilNextStep(const Game& game, std::uint32_t now);

// Start-up of the shell; false when the sound device failed (already reported).
bool SystemStartup(Game& game);
// One iteration of the main loop.
void MainLoopStep(Game& game, const MainLoopHooks& hooks = {});
void SystemShutdown(Game& game);
void RuntimeShutdown(Game& game);

// Opens the display in the mode of Windowed; false (reported) on failure.
bool DisplayOpen(Game& game);
// Closes the current display (unless this is the first open), switches the
// mode when toggle is set, and opens again.
bool DisplayReopen(Game& game, std::int32_t toggle);

}  // namespace quorin
