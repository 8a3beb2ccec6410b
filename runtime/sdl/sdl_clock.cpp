#include "runtime/sdl/sdl_clock.h"

#include <SDL.h>

#if defined(_WIN32)
#include <windows.h>
#include <timeapi.h>
#endif

namespace quorin {

SdlClock::SdlClock() {
  SDL_SetMainReady();
  SDL_InitSubSystem(SDL_INIT_TIMER);
}

SdlClock::~SdlClock() {
  HoldFineTimer(false);
  SDL_QuitSubSystem(SDL_INIT_TIMER);
}

std::uint32_t SdlClock::Milliseconds() {
  return SDL_GetTicks();
}

void SdlClock::Sleep(std::uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

void SdlClock::HoldFineTimer(bool hold) {
#if defined(_WIN32)
  constexpr UINT kTimerResolutionMs = 2;
  if (hold == fineTimerHeld_) return;
  if (hold) timeBeginPeriod(kTimerResolutionMs);
  else timeEndPeriod(kTimerResolutionMs);
#endif
  fineTimerHeld_ = hold;
}

}  // namespace quorin
