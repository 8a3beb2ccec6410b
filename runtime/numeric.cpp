#include "runtime/numeric.h"

#include <cmath>
#include <limits>

namespace quorin {

// In double, rounded once to float: single-precision atan2 differs between C
// libraries, and replays must not.
float Atan2Of(float x, float y) {
  return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

std::int32_t FloatToIntTruncate(double x) {
  // Out-of-range values saturate rather than invoke undefined behaviour.
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

double RoundDouble(double x, std::int32_t mode) {
  if (mode == 1) return std::ceil(x);
  if (mode == 2) return x > 0 ? std::floor(x + 0.5) : std::ceil(x - 0.5);
  return std::floor(x);
}

float RoundFloat(float x, std::int32_t mode) { return static_cast<float>(RoundDouble(x, mode)); }

}  // namespace quorin
