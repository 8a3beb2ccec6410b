// The page's clock. The browser calls the loop once per animation frame, so
// nothing here may block: Sleep never waits. Driven by the test hook, the
// clock is virtual instead, as quorin-sim's: sleeping advances it at once,
// so a hooked run paces exactly as the headless one.
#pragma once

#include <cstdint>

#include "runtime/platform.h"

namespace quorin {

class WebClock final : public Clock {
 public:
  explicit WebClock(bool virtualTime) : virtual_(virtualTime) {}
  std::uint32_t Milliseconds() override;
  void Sleep(std::uint32_t milliseconds) override;

 private:
  bool virtual_;
  std::uint32_t now_ = 0;
};

}  // namespace quorin
