#include "draw/clip_segment.h"

namespace drawing::draw {
namespace {

// The moved values lie between the segment's own b values, so they fit.
int32_t Truncate(double value) {
  return static_cast<int32_t>(value);
}

double Slope(int32_t a1, int32_t b1, int32_t a2, int32_t b2) {
  return static_cast<double>(static_cast<int64_t>(b2) - b1) /
         static_cast<double>(static_cast<int64_t>(a2) - a1);
}

double Distance(int32_t from, int32_t to) {
  return static_cast<double>(static_cast<int64_t>(to) - from);
}

}  // namespace

bool ClipSegment(int32_t& a1, int32_t& b1, int32_t& a2, int32_t& b2, int32_t lo, int32_t hi) {
  if (a1 < lo) {
    if (a2 < lo) {
      return false;
    }
    const double s = Slope(a1, b1, a2, b2);
    b1 = Truncate(b1 + Distance(a1, lo) * s);
    a1 = lo;
    if (a2 > hi) {
      b2 = Truncate(b2 + Distance(a2, hi) * s);
      a2 = hi;
    }
    return true;
  }
  if (a1 > hi) {
    if (a2 > hi) {
      return false;
    }
    const double s = Slope(a1, b1, a2, b2);
    b1 = Truncate(b1 + Distance(a1, hi) * s);
    a1 = hi;
    if (a2 < lo) {
      b2 = Truncate(b2 - Distance(lo, a2) * s);
      a2 = lo;
    }
    return true;
  }
  if (a2 > hi) {
    b2 = Truncate(b2 + Distance(a2, hi) * Slope(a1, b1, a2, b2));
    a2 = hi;
  } else if (a2 < lo) {
    b2 = Truncate(b2 - Distance(lo, a2) * Slope(a1, b1, a2, b2));
    a2 = lo;
  }
  return true;
}

}  // namespace drawing::draw
