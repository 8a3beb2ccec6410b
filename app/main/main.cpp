// Entry point of the game: the real game on the SDL back end.
#include <SDL.h>

#include <iostream>

#include "app/command_line.h"
#include "app/game_main.h"
#include "app/launch.h"
#include "runtime/host.h"
#include "runtime/sdl/audio_sdl.h"
#include "runtime/sdl/input_sdl.h"
#include "runtime/sdl/sdl_clock.h"
#include "runtime/sdl/sdl_video.h"

int main(int argc, char** argv) {
  using namespace quorin;
  HostUseParentConsole();
  LaunchOptions launch;
  if (const std::optional<int> exit =
          HandleCommandLine(std::span<const char* const>(argv, static_cast<std::size_t>(argc)),
                            QUORIN_VERSION, std::cout, std::cerr, launch)) {
    return *exit;
  }
  int code = 0;
  {
    SdlClock clock;
    SdlVideo video;
    const std::unique_ptr<AudioDevice> audio = CreateSdlAudioDevice();
    const std::unique_ptr<InputDevice> input = CreateSdlInputDevice();
    Platform platform{&clock, &video, audio.get(), input.get()};
    // The game object is large (its tables live inside it): keep it off the stack.
    auto game = std::make_unique<Game>();
    code = PlayGame(*game, platform, launch);
  }
  SDL_Quit();
  return code;
}
