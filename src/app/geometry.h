// Angles on the screen: compass bearings (0 up, clockwise) and rotation of a
// point about a centre. All in 64-bit doubles.
#pragma once

namespace drawing::app {

// The program's value of pi: ten decimals, not the full-precision constant.
inline constexpr double Pi = 3.1415926535;

// Compass bearing in radians of point 2 seen from point 1: 0 straight up,
// Pi/2 to the right, Pi down, 3*Pi/2 to the left. Not a number when the two
// points coincide.
double BearingTo(double x1, double y1, double x2, double y2);

struct RotatedPoint {
  double x;
  double y;
};

// (px, py) rotated clockwise on the screen about (cx, cy) by `angle` degrees.
RotatedPoint RotatePoint(double px, double py, double cx, double cy, double angle);

}  // namespace drawing::app
