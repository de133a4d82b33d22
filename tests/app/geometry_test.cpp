#include "app/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/rounding.h"

namespace drawing::app {
namespace {

constexpr double kHalfPi = 1.5707963267948966;  // atan(+infinity)

TEST(BearingTo, CompassPointsAreClockwiseFromUp) {
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, 0, -10), 0.0);           // straight up
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, 10, 0), kHalfPi);        // right
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, 0, 10), Pi);             // straight down
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, -10, 0), Pi + kHalfPi);  // left
}

TEST(BearingTo, DiagonalsFallInTheirQuadrants) {
  const double quarter = std::atan(1.0);
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, 10, -10), quarter);            // up-right
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, 10, 10), Pi - quarter);        // down-right
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, -10, 10), Pi + quarter);       // down-left
  EXPECT_DOUBLE_EQ(BearingTo(0, 0, -10, -10), 2 * Pi - quarter);  // up-left
}

TEST(BearingTo, StraightRightUsesTheFullPrecisionQuarterTurn) {
  // The zero denominator gives atan(+inf), not Pi / 2 of the ten-decimal Pi.
  EXPECT_EQ(BearingTo(3, 7, 100, 7), kHalfPi);
  EXPECT_NE(BearingTo(3, 7, 100, 7), Pi / 2);
}

TEST(BearingTo, CoincidentPointsAreNotANumber) {
  EXPECT_TRUE(std::isnan(BearingTo(5, 5, 5, 5)));
}

TEST(RotatePoint, StepUpwardsTurnsClockwise) {
  const RotatedPoint right = RotatePoint(0, -30, 0, 0, 90);
  EXPECT_NEAR(right.x, 30.0, 1e-9);
  EXPECT_NEAR(right.y, 0.0, 1e-8);
  const RotatedPoint down = RotatePoint(0, -30, 0, 0, 180);
  EXPECT_NEAR(down.x, 0.0, 1e-8);
  EXPECT_NEAR(down.y, 30.0, 1e-9);
}

TEST(RotatePoint, TenDegreesGivesThirtyTimesSineAndMinusCosine) {
  const RotatedPoint step = RotatePoint(0, -30, 0, 0, 10);
  EXPECT_NEAR(step.x, 5.209445, 1e-6);
  EXPECT_NEAR(step.y, -29.544233, 1e-6);
  EXPECT_EQ(Nearest(step.x), 5);
  EXPECT_EQ(Nearest(step.y), -30);
}

TEST(RotatePoint, AnglesOutsideOneTurnAreBroughtIntoRange) {
  const RotatedPoint base = RotatePoint(0, -30, 0, 0, 10);
  const RotatedPoint wound = RotatePoint(0, -30, 0, 0, 730);
  const RotatedPoint negative = RotatePoint(0, -30, 0, 0, -350);
  EXPECT_EQ(wound.x, base.x);
  EXPECT_EQ(wound.y, base.y);
  EXPECT_EQ(negative.x, base.x);
  EXPECT_EQ(negative.y, base.y);
}

TEST(RotatePoint, RotatesAboutTheCentre) {
  const RotatedPoint p = RotatePoint(110, 200, 100, 200, 90);
  EXPECT_NEAR(p.x, 100.0, 1e-8);
  EXPECT_NEAR(p.y, 210.0, 1e-8);
}

TEST(Nearest, HalvesGoToTheEvenInteger) {
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(3.5), 4);
  EXPECT_EQ(Nearest(-0.5), 0);
  EXPECT_EQ(Nearest(-1.5), -2);
  EXPECT_EQ(Nearest(2.4999), 2);
  EXPECT_EQ(Nearest16(2.5), 2);
  EXPECT_EQ(Nearest16(-2.5), -2);
}

TEST(Nearest, OutOfRangeGivesTheLowestValue) {
  EXPECT_EQ(Nearest(1e12), INT32_MIN);
  EXPECT_EQ(Nearest(std::nan("")), INT32_MIN);
  EXPECT_EQ(Nearest16(40000.0), INT16_MIN);
  EXPECT_EQ(Nearest16(32767.0), 32767);
}

}  // namespace
}  // namespace drawing::app
