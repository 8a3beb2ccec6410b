// The real game on SDL for a number of frames on the title screen: frame
// periods, CPU use and the time to the first picture. Run it in a desktop
// session or under Xvfb:  quorin_frame_pacing [FRAMES]
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <sys/resource.h>

#include "app/game_main.h"
#include "runtime/sdl/audio_sdl.h"
#include "runtime/sdl/input_sdl.h"
#include "runtime/sdl/sdl_clock.h"
#include "runtime/sdl/sdl_video.h"

namespace {

using WallClock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Ms(WallClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  using namespace quorin;
  const auto start = WallClock::now();
  const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  std::vector<WallClock::time_point> ends;
  double cpuAtFirstFrame = 0;
  {
    SdlClock clock;
    SdlVideo video;
    const std::unique_ptr<AudioDevice> audio = CreateSdlAudioDevice();
    const std::unique_ptr<InputDevice> input = CreateSdlInputDevice();
    const Platform platform{&clock, &video, audio.get(), input.get()};
    auto game = std::make_unique<Game>();
    MainLoopHooks hooks;
    // Two iterations open the display and present the first drawn picture.
    hooks.beforeIteration = [&](Game&, std::int64_t k) { return k < frames + 2; };
    hooks.afterIteration = [&](Game&, std::int64_t k) {
      ends.push_back(WallClock::now());
      if (k == 1) cpuAtFirstFrame = CpuSeconds();
    };
    GameMain(*game, platform, hooks);
  }
  const double cpu = CpuSeconds();
  SDL_Quit();
  if (ends.size() < 3) {
    std::fprintf(stderr, "the game ended after %zu iterations\n", ends.size());
    return 1;
  }
  std::vector<double> periods;
  for (std::size_t k = 2; k < ends.size(); ++k) periods.push_back(Ms(ends[k] - ends[k - 1]));
  std::sort(periods.begin(), periods.end());
  const double wall = Ms(ends.back() - ends[1]) / 1000.0;
  std::printf("frames: %zu\n", periods.size());
  std::printf("frame period median: %.2f ms\n", periods[periods.size() / 2]);
  std::printf("frame period p99: %.2f ms\n", periods[periods.size() * 99 / 100]);
  std::printf("frame period max: %.2f ms\n", periods.back());
  std::printf("CPU use while running: %.1f %% of one core\n", 100.0 * (cpu - cpuAtFirstFrame) / wall);
  std::printf("start to first presented picture: %.1f ms\n", Ms(ends[1] - start));
  return 0;
}
