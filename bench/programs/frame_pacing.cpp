// The real game for a number of frames on the title screen and then in play
// with scripted keys: frame periods, CPU use, peak memory, the time of each
// start-up step and the time to the first picture.
//
//   quorin_frame_pacing [--null] [TITLE_FRAMES [PLAY_FRAMES]]    (1000 1000)
//
// On SDL run it in a desktop session or under Xvfb; SDL_RENDER_DRIVER picks
// the renderer. --null runs the same start-up and loop on the null back end
// (no window, no sound device, a virtual clock): what is left is our own
// part, so there the frame figures are the work per frame, not periods.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <time.h>

#include "app/game_main.h"
#include "flow/game_states.h"
#include "runtime/key_codes.h"
#include "runtime/null/audio_null.h"
#include "runtime/null/input_null.h"
#include "runtime/null/null_clock.h"
#include "runtime/null/null_video.h"
#include "runtime/sdl/audio_sdl.h"
#include "runtime/sdl/input_sdl.h"
#include "runtime/sdl/sdl_clock.h"
#include "runtime/sdl/sdl_video.h"

namespace {

using namespace quorin;
using WallClock = std::chrono::steady_clock;

constexpr std::uint8_t kHeld = 128;
// Iterations 0 and 1 open the display and present the first drawn picture.
constexpr std::int64_t kFirstPictureIteration = 1;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// CPU time of the calling thread: start-up's own work, whatever else the
// machine is busy with.
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Ms(WallClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The platform's input with the keyboard replaced by a script while it runs:
// back and forth along the floor, jumping and firing, so that play moves the
// camera, spawns shots and meets monsters.
class ScriptedKeys final : public InputDevice {
 public:
  explicit ScriptedKeys(InputDevice& real) : real_(real) {}
  std::int64_t frame = -1;  // -1: the real keyboard

  bool KeyboardExists() override { return real_.KeyboardExists(); }
  bool ReadKeys(std::uint8_t (&keys)[256]) override {
    if (frame < 0) return real_.ReadKeys(keys);
    std::memset(keys, 0, sizeof keys);
    keys[frame % 240 < 120 ? kKeyRight : kKeyLeft] = kHeld;
    if (frame % 30 < 10) keys[kKeyZ] = kHeld;
    if (frame % 8 < 4) keys[kKeyX] = kHeld;
    return true;
  }
  int JoysticksOpen() override { return real_.JoysticksOpen(); }
  void JoysticksClose() override { real_.JoysticksClose(); }
  bool ReadJoystick(int n, JoystickReading& reading) override { return real_.ReadJoystick(n, reading); }
  bool PointerInWindow(NativeWindow window, int& x, int& y, int& width, int& height) override {
    return real_.PointerInWindow(window, x, y, width, height);
  }
  void PointerOnDesktop(int& x, int& y) override { real_.PointerOnDesktop(x, y); }
  bool MouseButton(int button) override { return real_.MouseButton(button); }
  void CursorShow(bool show) override { real_.CursorShow(show); }
  void CursorPlaceOnDesktop(int x, int y) override { real_.CursorPlaceOnDesktop(x, y); }
  void CursorPlaceInWindow(NativeWindow window, int x, int y) override { real_.CursorPlaceInWindow(window, x, y); }

 private:
  InputDevice& real_;
};

struct Run {
  WallClock::time_point start;
  struct Step {
    std::string name;
    WallClock::time_point at;
    double threadCpuMs;
  };
  std::vector<Step> steps;
  std::vector<WallClock::time_point> ends;  // of each iteration
  std::vector<double> cpuAtEnd;
  std::int64_t playingFrames = 0;
  std::string renderer;
};

void Report(const char* phase, const Run& run, std::size_t first, std::size_t last, bool periods) {
  if (last >= run.ends.size() || first >= last) return;
  std::vector<double> times;
  for (std::size_t k = first + 1; k <= last; ++k) times.push_back(Ms(run.ends[k] - run.ends[k - 1]));
  std::sort(times.begin(), times.end());
  const double wall = Ms(run.ends[last] - run.ends[first]) / 1000.0;
  const double cpu = run.cpuAtEnd[last] - run.cpuAtEnd[first];
  const char* what = periods ? "period" : "work per frame";
  std::printf("%s: %zu frames\n", phase, times.size());
  std::printf("  %s median %.2f ms, p99 %.2f ms, worst %.2f ms\n", what, times[times.size() / 2],
              times[std::min(times.size() - 1, times.size() * 99 / 100)], times.back());
  // CPU per frame is what a busy machine leaves alone: when others take the
  // cores, periods grow and the share of wall time shrinks, not the work.
  const double perFrame = 1000.0 * cpu / static_cast<double>(times.size());
  std::printf("  CPU use %.1f %% of one core over the wall time; %.2f ms per frame, %.1f %% at 61 frames a second\n",
              100.0 * cpu / wall, perFrame, perFrame * 61 / 10.0);
}

}  // namespace

int main(int argc, char** argv) {
  const WallClock::time_point start = WallClock::now();
  bool null = false;
  std::vector<long> counts;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--null") == 0) {
      null = true;
    } else {
      char* end = nullptr;
      const long n = std::strtol(argv[k], &end, 10);
      if (end == argv[k] || *end != '\0' || n < 1) {
        std::fprintf(stderr, "usage: quorin_frame_pacing [--null] [TITLE_FRAMES [PLAY_FRAMES]]\n");
        return 2;
      }
      counts.push_back(n);
    }
  }
  const std::int64_t titleFrames = counts.size() > 0 ? counts[0] : 1000;
  const std::int64_t playFrames = counts.size() > 1 ? counts[1] : 1000;
  const std::int64_t playStart = kFirstPictureIteration + 1 + titleFrames;
  const std::int64_t iterations = playStart + 1 + playFrames;  // the new game's iteration apart

  Run run;
  run.start = start;
  {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<VideoDevice> video;
    std::unique_ptr<AudioDevice> audio;
    std::unique_ptr<InputDevice> input;
    if (null) {
      clock = std::make_unique<NullClock>();
      video = std::make_unique<NullVideo>();
      audio = std::make_unique<NullAudioDevice>();
      input = std::make_unique<NullInputDevice>();
    } else {
      clock = std::make_unique<SdlClock>();
      video = std::make_unique<SdlVideo>();
      audio = CreateSdlAudioDevice();
      input = CreateSdlInputDevice();
    }
    ScriptedKeys keys(*input);
    const Platform platform{clock.get(), video.get(), audio.get(), &keys};
    auto game = std::make_unique<Game>();
    MainLoopHooks hooks;
    hooks.afterStartupStep = [&](Game&, std::string_view name) {
      run.steps.push_back({std::string(name), WallClock::now(), ThreadCpuMs()});
    };
    hooks.beforeIteration = [&](Game& g, std::int64_t k) {
      if (k == playStart) EnterState(g, kPlaying);  // as the title's start entry does
      keys.frame = k >= playStart ? k - playStart : -1;
      return k < iterations;
    };
    hooks.afterIteration = [&](Game& g, std::int64_t k) {
      run.ends.push_back(WallClock::now());
      run.cpuAtEnd.push_back(CpuSeconds());
      if (k > playStart && g.flow.GameState == kPlaying) ++run.playingFrames;
      if (k <= kFirstPictureIteration) run.steps.push_back({"iteration " + std::to_string(k), run.ends.back(), ThreadCpuMs()});
      if (k == kFirstPictureIteration && !null) run.renderer = static_cast<SdlVideo&>(*video).RendererName();
    };
    run.steps.push_back({"devices and Game", WallClock::now(), ThreadCpuMs()});
    GameMain(*game, platform, hooks);
  }
  if (!null) SDL_Quit();
  if (run.ends.size() <= static_cast<std::size_t>(kFirstPictureIteration)) {
    std::fprintf(stderr, "the game ended after %zu iterations\n", run.ends.size());
    return 1;
  }

  std::printf("back end: %s\n", null ? "null" : run.renderer.empty() ? "SDL (no renderer)" : ("SDL, renderer " + run.renderer).c_str());
  std::printf("start-up: ms from the start of main at the end of each step (wall time of the step, main thread's CPU time of it):\n");
  WallClock::time_point before = start;
  double cpuBefore = 0;
  for (const Run::Step& step : run.steps) {
    std::printf("  %-20s %8.1f (%6.1f, %6.1f)\n", step.name.c_str(), Ms(step.at - start), Ms(step.at - before),
                step.threadCpuMs - cpuBefore);
    before = step.at;
    cpuBefore = step.threadCpuMs;
  }
  std::printf("time to the first picture: %.1f ms (main thread CPU %.1f ms, process CPU %.1f ms)\n",
              Ms(run.ends[kFirstPictureIteration] - start), run.steps.back().threadCpuMs,
              run.cpuAtEnd[kFirstPictureIteration] * 1e3);
  const auto last = static_cast<std::size_t>(std::min<std::int64_t>(playStart - 1, run.ends.size() - 1));
  Report("title", run, kFirstPictureIteration, last, !null);
  if (run.ends.size() > static_cast<std::size_t>(playStart)) {
    std::printf("new game (world generation) iteration: %.1f ms\n",
                Ms(run.ends[playStart] - run.ends[playStart - 1]));
    Report("play", run, playStart, run.ends.size() - 1, !null);
    std::printf("  %lld of those frames in state Playing\n", static_cast<long long>(run.playingFrames));
  }
  std::printf("peak memory (RSS): %.1f MB\n", PeakRssKb() / 1024.0);
  return 0;
}
