// quorin-sim run: the real start-up and main loop on the null back end, with
// a virtual clock, scripted input and screenshots of the presented picture.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/game_main.h"
#include "app/input_script.h"
#include "app/scripted_input.h"
#include "app/world_file.h"
#include "runtime/file_io.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/null/null_video.h"
#include "runtime/png_codec.h"
#include "tools/quorin-sim/commands.h"
#include "tools/quorin-sim/trace.h"
#include "world/generation.h"
#include "world/play_host.h"
#include "world/world.h"

namespace quorin {

namespace {

// The headless machine the game runs on.
struct Headless {
  NullClock clock;
  NullVideo video;
  NullAudioDevice audio;
  NullInputDevice input;
  ScriptedInput scripted{input};

  Headless() {
    video.printMessages = true;
    input.desktopX = input.desktopY = 0;
    // Keys arrive when the game pumps events, as on a real window system.
    input.deliverOnPump = true;
    video.onPump = [this] { input.Deliver(); };
  }

  // Keeps the input device's idea of the game window in step with the video device.
  void FollowWindow() {
    const NullVideo::Window* window = video.WindowOf(video.ScreenWindow());
    if (window) {
      scripted.FollowWindow(true, window->x, window->y, window->wanted.clientWidth,
                            window->wanted.clientHeight);
    } else {
      scripted.FollowWindow(false, 0, 0, 0, 0);
    }
  }

  void Apply(const ScriptEvent& e) {
    if (scripted.Apply(e)) return;
    if (e.kind == EventKind::Focus) video.SetFocus(e.a ? video.ScreenWindow() : 0);
    if (e.kind == EventKind::Close) video.InjectClose(video.ScreenWindow());
  }
};

int RunUsage() {
  std::fprintf(stderr,
               "usage: quorin-sim run --frames N [--input FILE] [--shot K:OUT.png]... [--trace FILE] "
               "[--world FILE.png]\n");
  return 2;
}

}  // namespace

int CommandRun(int argc, char** argv) {
  long long frames = -1;
  std::string inputPath;
  std::string tracePath;
  std::string worldPath;
  std::multimap<long long, std::string> shots;
  for (int k = 0; k < argc; ++k) {
    const std::string arg = argv[k];
    if (arg == "--frames" && k + 1 < argc) {
      if (!ParseWholeInt(argv[++k], frames) || frames < 0) return RunUsage();
    } else if (arg == "--input" && k + 1 < argc) {
      inputPath = argv[++k];
    } else if (arg == "--trace" && k + 1 < argc) {
      tracePath = argv[++k];
    } else if (arg == "--world" && k + 1 < argc) {
      worldPath = argv[++k];
    } else if (arg == "--shot" && k + 1 < argc) {
      const std::string wanted = argv[++k];
      const std::size_t colon = wanted.find(':');
      long long at = 0;
      if (colon == std::string::npos || !ParseWholeInt(wanted.substr(0, colon), at) || at < 0 || colon + 1 == wanted.size()) {
        return RunUsage();
      }
      shots.emplace(at, wanted.substr(colon + 1));
    } else {
      return RunUsage();
    }
  }
  if (frames < 0) return RunUsage();

  Script script;
  if (!inputPath.empty()) {
    std::ifstream in(inputPath);
    std::string error;
    if (!in) {
      std::fprintf(stderr, "quorin-sim: cannot read %s\n", inputPath.c_str());
      return 2;
    }
    if (!ParseScript(in, script, error)) {
      std::fprintf(stderr, "quorin-sim: %s: %s\n", inputPath.c_str(), error.c_str());
      return 2;
    }
  }

  std::shared_ptr<const LayoutImage> layout;
  if (!worldPath.empty()) {
    if (const std::string reason = LoadWorldFile(worldPath, layout); !reason.empty()) {
      std::fprintf(stderr, "Error: %s\n", reason.c_str());
      return 1;
    }
  }
  std::ofstream trace;
  if (!tracePath.empty()) {
    trace.open(tracePath, std::ios::binary | std::ios::trunc);
    if (!trace) {
      std::fprintf(stderr, "quorin-sim: cannot write %s\n", tracePath.c_str());
      return 2;
    }
  }

  auto machine = std::make_unique<Headless>();
  if (script.joystick) machine->input.joysticks.resize(1);
  const Platform platform{&machine->clock, &machine->video, &machine->audio, &machine->input};

  std::size_t next = 0;
  std::int64_t ran = 0;
  std::int64_t current = 0;
  std::int32_t stateBefore = 0;
  bool shotFailed = false;
  MainLoopHooks hooks;
  hooks.beforeIteration = [&](Game&, std::int64_t iteration) {
    if (iteration >= frames) return false;
    current = iteration;
    for (; next < script.events.size() && script.events[next].frame <= iteration; ++next) {
      machine->Apply(script.events[next]);
    }
    machine->FollowWindow();
    return true;
  };
  hooks.afterIteration = [&](Game&, std::int64_t iteration) {
    ran = iteration + 1;
    machine->FollowWindow();
    const auto [first, last] = shots.equal_range(iteration);
    for (auto it = first; it != last; ++it) {
      if (!SavePng(machine->video.LastPicture(), it->second)) {
        std::fprintf(stderr, "quorin-sim: cannot write %s\n", it->second.c_str());
        shotFailed = true;
      }
    }
  };

  if (trace.is_open()) {
    hooks.beforeGameFrame = [&](Game& game) { stateBefore = game.flow.GameState; };
    hooks.afterGameFrame = [&](Game& game) {
      if (TracedState(stateBefore)) trace << TraceLine(game, current, stateBefore) << '\n';
    };
  }

  auto game = std::make_unique<Game>();
  game->flow.layout = layout;
  const int code = GameMain(*game, platform, hooks);
  std::printf("frames=%lld state=%d quit=%d windowed=%d\n", static_cast<long long>(ran), game->flow.GameState,
              game->shell.quitFlag, game->settings.Windowed);
  if (trace.is_open()) {
    trace.close();
    if (!trace) {
      std::fprintf(stderr, "quorin-sim: cannot write %s\n", tracePath.c_str());
      return 1;
    }
  }
  return shotFailed ? 1 : code;
}

}  // namespace quorin

namespace quorin {

int CommandRoute(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorin-sim route INPUT OUT.png\n");
    return 2;
  }
  Script script;
  {
    std::ifstream in(argv[0]);
    std::string error;
    if (!in) {
      std::fprintf(stderr, "quorin-sim: cannot read %s\n", argv[0]);
      return 2;
    }
    if (!ParseScript(in, script, error)) {
      std::fprintf(stderr, "quorin-sim: %s: %s\n", argv[0], error.c_str());
      return 2;
    }
  }
  // The run ends when the game quits, or this long after the last event.
  constexpr std::int64_t kAfterLastEvent = 2000;
  const std::int64_t frames = (script.events.empty() ? 0 : script.events.back().frame) + kAfterLastEvent;

  auto machine = std::make_unique<Headless>();
  if (script.joystick) machine->input.joysticks.resize(1);
  const Platform platform{&machine->clock, &machine->video, &machine->audio, &machine->input};
  std::size_t next = 0;
  MainLoopHooks hooks;
  hooks.beforeIteration = [&](Game&, std::int64_t iteration) {
    if (iteration >= frames) return false;
    for (; next < script.events.size() && script.events[next].frame <= iteration; ++next) {
      machine->Apply(script.events[next]);
    }
    machine->FollowWindow();
    return true;
  };
  hooks.afterIteration = [&](Game&, std::int64_t) { machine->FollowWindow(); };

  // A jump of more than this many cells between frames is a respawn: the
  // path starts a new stretch.
  constexpr int kLeap = 4;
  RouteMarks marks;
  std::int32_t stateBefore = 0, heroBefore = 0, fruitsBefore = 0;
  hooks.beforeGameFrame = [&](Game& game) {
    stateBefore = game.flow.GameState;
    heroBefore = game.world.player.state;
    fruitsBefore = game.world.player.fruitsFound;
  };
  hooks.afterGameFrame = [&](Game& game) {
    if (stateBefore != kPlaying) return;
    const Player& p = game.world.player;
    const RouteMarks::Point here{p.x >> kCellShift, p.y >> kCellShift};
    if (p.fruitsFound > fruitsBefore) marks.fruits.push_back(here);
    // The planet-saved scene takes the hero out of play too: that is no hurt.
    if (heroBefore == kHeroWalking && game.flow.GameState != kPlanetSaved &&
        (p.state != kHeroWalking || game.flow.GameState == kGameOver)) {
      marks.deaths.push_back(here);
    }
    if (p.state == kHeroBursting || game.flow.GameState != kPlaying) return;
    if (marks.paths.empty() || std::abs(marks.paths.back().back().column - here.column) > kLeap ||
        std::abs(marks.paths.back().back().row - here.row) > kLeap) {
      marks.paths.emplace_back();
    }
    auto& stretch = marks.paths.back();
    if (stretch.empty() || stretch.back().column != here.column || stretch.back().row != here.row) {
      stretch.push_back(here);
    }
  };

  auto game = std::make_unique<Game>();
  GameMain(*game, platform, hooks);
  std::printf("fruits=%zu hurts=%zu\n", marks.fruits.size(), marks.deaths.size());
  if (!SaveRouteMap(marks, nullptr, argv[1])) {
    std::fprintf(stderr, "quorin-sim: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}

}  // namespace quorin
