#include "app/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

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

TEST(Nearest, RoundsExactlyAsNearbyintEverywhere) {
  // Halves, values just beside them, both signs, small and huge magnitudes,
  // the edges of the shortcut, infinities and not-a-number.
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1.5,
                                -2.5,
                                1e-300,
                                -1e-300,
                                0.49999999999999994,
                                2147483647.5,
                                -2147483648.5,
                                4503599627370495.5,
                                4503599627370497.0,
                                2251799813685247.5,
                                -2251799813685247.5,
                                2251799813685248.5,
                                -2251799813685249.5,
                                1e300,
                                -1e300,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity()};
  std::mt19937_64 random(5u);
  for (int k = 0; k < 200000; ++k) {
    const double whole = static_cast<double>(static_cast<int64_t>(random() % 4000001) - 2000000);
    values.push_back(whole + 0.5);
    values.push_back(std::nextafter(whole + 0.5, 0.0));
    values.push_back(std::nextafter(whole + 0.5, 1e9));
    values.push_back(
        std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 60) *
        (k % 2 == 0 ? 1.0 : -1.0));
  }
  for (const double value : values) {
    const double want = std::nearbyint(value);
    const double got = RoundToInteger(value);
    ASSERT_TRUE(got == want || (std::isnan(got) && std::isnan(want))) << value;
  }
  EXPECT_TRUE(std::isnan(RoundToInteger(std::nan(""))));
}

TEST(Nearest, OutOfRangeGivesTheLowestValue) {
  EXPECT_EQ(Nearest(1e12), INT32_MIN);
  EXPECT_EQ(Nearest(std::nan("")), INT32_MIN);
  EXPECT_EQ(Nearest16(40000.0), INT16_MIN);
  EXPECT_EQ(Nearest16(32767.0), 32767);
}

}  // namespace
}  // namespace drawing::app
