// Float-to-integer conversion that is defined for every float.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Truncation toward zero that saturates out-of-range values and maps NaN to 0, since a plain
// cast of those is undefined.
inline int32_t TruncateToInt32(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}
