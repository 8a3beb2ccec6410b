#include "runtime/web/web_clock.h"

#include <emscripten.h>

namespace quorin {

std::uint32_t WebClock::Milliseconds() {
  if (virtual_) return now_;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

void WebClock::Sleep(std::uint32_t milliseconds) {
  // A real wait would freeze the page; the loop's host waits instead.
  if (virtual_) now_ += milliseconds;
}

}  // namespace quorin
