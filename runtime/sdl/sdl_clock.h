// Real time from SDL's millisecond timer.
#pragma once

#include "runtime/platform.h"

namespace quorin {

class SdlClock final : public Clock {
 public:
  SdlClock();
  ~SdlClock() override;
  SdlClock(const SdlClock&) = delete;
  SdlClock& operator=(const SdlClock&) = delete;
  std::uint32_t Milliseconds() override;
  void Sleep(std::uint32_t milliseconds) override;
  void HoldFineTimer(bool hold) override;

 private:
  bool fineTimerHeld_ = false;
};

}  // namespace quorin
