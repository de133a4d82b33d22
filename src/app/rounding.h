// Float to integer conversions of the program: nearest integer, ties to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace drawing::app {

// Below 2^51 in magnitude, adding and taking away 1.5 * 2^52 leaves v rounded
// to a whole number in the current rounding mode, as nearbyint does: the sum
// lies where doubles are whole numbers, and taking the shift away again is
// exact. The program only ever runs with rounding to nearest, ties to even.
inline constexpr double kRoundingShiftLimit = 2251799813685248.0;  // 2^51

// RoundToInteger for a value known to lie strictly between -2^51 and 2^51.
inline double RoundToIntegerBelowLimit(double value) {
  constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52
  const double shifted = value + kShift;
  return shifted - kShift;
}

// nearbyint(v) without the cost of saving and restoring the floating-point
// environment, which a call to the library's nearbyint pays (a stroke rounds
// 62 rows).
inline double RoundToInteger(double value) {
  if (value > -kRoundingShiftLimit && value < kRoundingShiftLimit) {
    return RoundToIntegerBelowLimit(value);
  }
  return std::nearbyint(value);  // whole already, infinite or not a number
}

// nearest(v) as a 32-bit integer. A value that does not fit (or is not a
// number) gives the lowest integer, as the processor's own conversion does.
inline int32_t Nearest(double value) {
  const double rounded = RoundToInteger(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(rounded);
}

// nearest(v) stored in a signed 16-bit integer; out of range gives -32768.
inline int16_t Nearest16(double value) {
  const double rounded = RoundToInteger(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    return std::numeric_limits<int16_t>::min();
  }
  return static_cast<int16_t>(rounded);
}

}  // namespace drawing::app
