#include "app/geometry.h"

#include <cmath>

namespace drawing::app {

double BearingTo(double x1, double y1, double x2, double y2) {
  // A zero denominator gives +infinity and so Pi/2; two equal points give 0/0.
  const double a = std::atan(std::fabs(x1 - x2) / std::fabs(y1 - y2));
  if (y1 < y2 && x1 < x2) {
    return Pi - a;
  }
  if (y1 <= y2 && x1 >= x2) {
    return Pi + a;
  }
  if (y1 > y2 && x1 > x2) {
    return 2 * Pi - a;
  }
  return a;
}

RotatedPoint RotatePoint(double px, double py, double cx, double cy, double angle) {
  while (angle >= 360) {
    angle -= 360;
  }
  while (angle < 0) {
    angle += 360;
  }
  const double theta = -angle * 2.0 * Pi / 360.0;
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  const double dx = px - cx;
  const double dy = py - cy;
  return {s * dy + c * dx + cx, c * dy - s * dx + cy};
}

}  // namespace drawing::app
