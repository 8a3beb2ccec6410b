#include "runtime/sdl/sdl_clock.h"

#include <SDL.h>

namespace quorin {

namespace {

// The system timer resolution the pacing holds, in milliseconds. SDL sets it
// (timeBeginPeriod on Windows, nothing elsewhere) through this hint.
constexpr const char* kFineTimerMs = "2";

}  // namespace

SdlClock::SdlClock() {
  SDL_SetMainReady();
  // SDL would hold 1 ms from its start; the game asks for its own 2 ms below.
  SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, "0");
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
  if (hold == fineTimerHeld_) return;
  SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, hold ? kFineTimerMs : "0");
  fineTimerHeld_ = hold;
}

}  // namespace quorin
