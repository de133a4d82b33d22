// Float to integer conversions of the program: nearest integer, ties to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace drawing::app {

// nearest(v) as a 32-bit integer. A value that does not fit (or is not a
// number) gives the lowest integer, as the processor's own conversion does.
inline int32_t Nearest(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(rounded);
}

// nearest(v) stored in a signed 16-bit integer; out of range gives -32768.
inline int16_t Nearest16(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    return std::numeric_limits<int16_t>::min();
  }
  return static_cast<int16_t>(rounded);
}

}  // namespace drawing::app
