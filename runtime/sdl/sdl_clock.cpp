#include "runtime/sdl/sdl_clock.h"

#include <SDL.h>

namespace quorin {

SdlClock::SdlClock() {
  SDL_SetMainReady();
  SDL_InitSubSystem(SDL_INIT_TIMER);
}

SdlClock::~SdlClock() {
  SDL_QuitSubSystem(SDL_INIT_TIMER);
}

std::uint32_t SdlClock::Milliseconds() {
  return SDL_GetTicks();
}

void SdlClock::Sleep(std::uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

}  // namespace quorin
