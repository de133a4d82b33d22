#include "draw/line_steps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace drawing::draw {
namespace {

// Counts how many of the lengths' positions disagree with the decisions made
// step by step.
int64_t Disagreements(int32_t majorLength, int32_t minorLength) {
  Midpoint midpoint(majorLength, minorLength);
  MinorPositions positions(majorLength, minorLength, MinorPositions::Reciprocal(majorLength));
  int64_t moved = 0;
  int64_t wrong = 0;
  for (int32_t k = 0; k <= majorLength; ++k) {
    wrong += positions.Next() != moved ? 1 : 0;
    moved += midpoint.Next() == 0 ? 1 : 0;
  }
  return wrong;
}

TEST(LineStepsTest, MidpointMovesOnTies) {
  // (0, 0)-(5, 2): the minor coordinate moves on the second and fourth steps.
  Midpoint midpoint(5, 2);
  const int64_t expected[5] = {-1, 0, -1, 0, -1};
  for (int64_t stays : expected) {
    EXPECT_EQ(midpoint.Next(), stays);
  }
  // A diagonal moves on every step.
  Midpoint diagonal(3, 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(diagonal.Next(), 0);
  }
}

TEST(LineStepsTest, PositionsEqualTheDecisionsForAllShortLines) {
  int64_t wrong = 0;
  for (int32_t major = 0; major <= 300; ++major) {
    for (int32_t minor = 0; minor <= major; ++minor) {
      wrong += Disagreements(major, minor);
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(LineStepsTest, PositionsEqualTheDecisionsUpToTheLargestLengths) {
  std::mt19937 random(77);
  std::uniform_int_distribution<int32_t> length(1, 32767);
  int64_t wrong = Disagreements(32767, 32767) + Disagreements(32767, 32766) +
                  Disagreements(32767, 1) + Disagreements(32766, 16383);
  for (int k = 0; k < 60; ++k) {
    const int32_t major = length(random);
    const int32_t minor = std::uniform_int_distribution<int32_t>(0, major)(random);
    ASSERT_TRUE(MinorPositions::Fits(major, minor));
    wrong += Disagreements(major, minor);
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_FALSE(MinorPositions::Fits(32768, 5));
}

}  // namespace
}  // namespace drawing::draw
