// Where the minor coordinate of a stepped line lies. After k of its
// `majorLength` steps along the major axis it has moved
//   m(k) = floor((2·k·minorLength + majorLength) / (2·majorLength))
// steps along the minor axis: the midpoint rule with the decision started at
// 2·minorLength − majorLength, where a tie (decision 0) moves it.
#pragma once

#include <cstdint>

namespace drawing::draw {

// The rule itself, one step at a time. Next() answers, for the coming step,
// whether the minor coordinate stays (all ones) or moves (0). A mask rather
// than a branch: the pattern follows the slope and would be mispredicted.
class Midpoint {
 public:
  Midpoint(int32_t majorLength, int32_t minorLength)
      : e_(2 * static_cast<int64_t>(minorLength) - majorLength),
        withMinor_(2 * (static_cast<int64_t>(minorLength) - majorLength)),
        extraWithoutMinor_(2 * static_cast<int64_t>(majorLength)) {}

  int64_t Next() {
    const int64_t stays = e_ >> 63;
    e_ += withMinor_ + (extraWithoutMinor_ & stays);
    return stays;
  }

 private:
  int64_t e_;
  int64_t withMinor_;
  int64_t extraWithoutMinor_;
};

// m(k) for k = 0, 1, 2, ... without a chain of decisions: the numerator grows
// by 2·minorLength per step and is divided by multiplying with the reciprocal
// of 2·majorLength rounded up to kShift bits. With d = 2·majorLength and
// r = ceil(2^kShift / d) the error r·d − 2^kShift is below d, so the quotient
// stays exact while numerator · d < 2^kShift; both lengths below 2^15 keep the
// numerator under 2^31, that product under 2^48 and every value under 2^64.
class MinorPositions {
 public:
  static constexpr int kShift = 48;

  static bool Fits(int32_t majorLength, int32_t minorLength) {
    return majorLength < 32768 && minorLength < 32768;
  }
  // ceil(2^kShift / (2·majorLength)); 0 for a line of one pixel.
  static uint64_t Reciprocal(int32_t majorLength) {
    if (majorLength <= 0) {
      return 0;
    }
    const uint64_t d = 2 * static_cast<uint64_t>(majorLength);
    return ((uint64_t{1} << kShift) + d - 1) / d;
  }

  MinorPositions(int32_t majorLength, int32_t minorLength, uint64_t reciprocal)
      : value_(static_cast<uint64_t>(majorLength) * reciprocal),
        step_(2 * static_cast<uint64_t>(minorLength) * reciprocal) {}

  // m(k) for the next k, starting at 0.
  int64_t Next() {
    const auto m = static_cast<int64_t>(value_ >> kShift);
    value_ += step_;
    return m;
  }

 private:
  uint64_t value_;
  uint64_t step_;
};

}  // namespace drawing::draw
