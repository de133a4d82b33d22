#include "app/stroke.h"

#include <gtest/gtest.h>

namespace drawing::app {
namespace {

Particle At(double x, double y, double prevX, double prevY) {
  Particle p{};
  p.x = x;
  p.y = y;
  p.prevX = prevX;
  p.prevY = prevY;
  return p;
}

TEST(Stroke, StillParticleDrawsTwoPixelLinesToTheRight) {
  const Particle p = At(0, 0, 0, 0);
  const int32_t start = StrokeStartColumn(p);
  EXPECT_EQ(start, 1);
  for (int32_t i = -StrokeHalfWidth; i <= StrokeHalfWidth; ++i) {
    const Line line = StrokeLine(p, start, i);
    EXPECT_EQ(line.x1, 1);
    EXPECT_EQ(line.y1, i);
    EXPECT_EQ(line.x2, 0);
    EXPECT_EQ(line.y2, i);
  }
}

TEST(Stroke, MovingStraightDownStillStartsToTheRight) {
  const Particle p = At(10, 50, 10, 20);
  EXPECT_EQ(StrokeStartColumn(p), 11);
  const Line line = StrokeLine(p, 11, -3);
  EXPECT_EQ(line.y1, 47);
  EXPECT_EQ(line.x2, 10);
  EXPECT_EQ(line.y2, 17);
}

TEST(Stroke, AnyMoveRightStartsOneColumnBack) {
  EXPECT_EQ(StrokeStartColumn(At(10, 0, 9.9999999, 0)), 9);
  EXPECT_EQ(StrokeStartColumn(At(10, 0, 10.0000001, 0)), 11);  // moved left
}

TEST(Stroke, OffsetsAreRoundedAfterTheSubtraction) {
  // nearest(2.5 - 1) = 2, not nearest(2.5) - 1 = 1.
  const Particle p = At(0, 2.5, 0, 2.5);
  EXPECT_EQ(StrokeLine(p, 1, -1).y1, 2);
  EXPECT_EQ(StrokeLine(p, 1, 0).y1, 2);
  EXPECT_EQ(StrokeLine(p, 1, 1).y1, 4);
  EXPECT_EQ(StrokeLine(p, 1, -1).y2, 2);
}

TEST(Stroke, ColoursCarryTheirAlphaByte) {
  Particle p{};
  p.red = 1;
  p.green = 2;
  p.blue = 3;
  EXPECT_EQ(ParticleColour(p, StrokeAlpha), 0x96030201u);
  EXPECT_EQ(ParticleColour(p, 0), 0x00030201u);
}

}  // namespace
}  // namespace drawing::app
