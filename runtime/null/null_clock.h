// Virtual time for tests and quorin-sim: sleeping advances the clock at once.
#pragma once

#include <cstdint>

#include "runtime/platform.h"

namespace quorin {

class NullClock final : public Clock {
 public:
  std::uint32_t Milliseconds() override { return now_; }
  void Sleep(std::uint32_t milliseconds) override { now_ += milliseconds; }
  // Time spent working, as a test wants it to pass.
  void Advance(std::uint32_t milliseconds) { now_ += milliseconds; }

 private:
  std::uint32_t now_ = 0;
};

}  // namespace quorin
