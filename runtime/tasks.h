// How start-up's background work runs (the sound and sprite-sheet decoding
// that GameMain starts with std::async).
#pragma once

#include <future>

namespace quorin {

// A build without threads (the browser's) runs the work when its result is
// first asked for, on the asking thread; the result is the same either way.
#if defined(QUORIN_NO_THREADS)
inline constexpr std::launch kBackgroundLaunch = std::launch::deferred;
#else
inline constexpr std::launch kBackgroundLaunch = std::launch::async | std::launch::deferred;
#endif

}  // namespace quorin
