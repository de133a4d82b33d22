#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "draw/clip_segment.h"
#include "raster_target.h"

namespace drawing::draw {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;

// Lines drawn in plain mode with opaque white on a black 100 x 80 target.
class LineTest : public ::testing::Test {
 protected:
  Pixels Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    target.Fill(0);
    target.context().DrawLine(x1, y1, x2, y2);
    return target.Changed(0);
  }

  void SetUp() override {
    target.context().frontColor = 0xFFFFFF;
    target.context().SetFrontColor(0xFFFFFF);
  }

  testing::RasterTarget target{100, 80, 4};
};

TEST_F(LineTest, ShallowLineStepsOnTiesAndIsTheSameBothWays) {
  const Pixels expected{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
  EXPECT_EQ(Line(0, 0, 5, 2), expected);
  EXPECT_EQ(Line(5, 2, 0, 0), expected);
}

TEST_F(LineTest, DiagonalPaintsOnePixelPerStep) {
  EXPECT_EQ(Line(0, 0, 3, 3), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST_F(LineTest, SteepLineStartsAtTheSmallerY) {
  const Pixels expected{{2, 0}, {2, 1}, {1, 2}, {1, 3}, {0, 4}, {0, 5}};
  EXPECT_EQ(Line(2, 0, 0, 5), expected);
  EXPECT_EQ(Line(0, 5, 2, 0), expected);
}

TEST_F(LineTest, HorizontalLineIsClippedAtTheLeftEdge) {
  Pixels expected;
  for (int32_t x = 0; x <= 10; ++x) {
    expected.insert({x, 5});
  }
  EXPECT_EQ(Line(-10, 5, 10, 5), expected);
}

TEST_F(LineTest, ClippedStartIsTruncatedTowardZero) {
  EXPECT_EQ(Line(-3, 0, 7, 5),
            (Pixels{{0, 1}, {1, 2}, {2, 2}, {3, 3}, {4, 3}, {5, 4}, {6, 4}, {7, 5}}));
}

TEST_F(LineTest, ClippedEndIsTruncatedTowardZero) {
  EXPECT_EQ(Line(95, 10, 105, 12), (Pixels{{95, 10}, {96, 10}, {97, 10}, {98, 10}, {99, 10}}));
}

TEST_F(LineTest, LinesOutsideTheTargetPaintNothing) {
  EXPECT_TRUE(Line(-20, -20, -5, -1).empty());
  EXPECT_TRUE(Line(100, 0, 150, 79).empty());
  EXPECT_TRUE(Line(0, 80, 99, 200).empty());
  EXPECT_TRUE(Line(-5, 3, -5, 9).empty());
  EXPECT_TRUE(Line(3, -5, 9, -5).empty());
}

TEST_F(LineTest, PointPaintsOnePixel) {
  EXPECT_EQ(Line(42, 17, 42, 17), (Pixels{{42, 17}}));
  EXPECT_EQ(Line(99, 79, 99, 79), (Pixels{{99, 79}}));
}

TEST_F(LineTest, VerticalLineIsClippedTopAndBottom) {
  Pixels expected;
  for (int32_t y = 0; y < 80; ++y) {
    expected.insert({7, y});
  }
  EXPECT_EQ(Line(7, 500, 7, -500), expected);
}

TEST_F(LineTest, LineCrossingBothEdgesEndsInside) {
  const Pixels pixels = Line(-50, 90, 150, -10);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels.begin()->first, 0);
  EXPECT_EQ(pixels.rbegin()->first, 99);
}

TEST_F(LineTest, CrossingLinesOfAStrokeBlendTheCrossingTwice) {
  RasterBackend& context = target.context();
  target.Fill(0xFF000000u);
  context.SetDrawMode(DrawModeAlphaBlend);
  context.SetFrontColor(0x960000FFu);  // red 255 at alpha 150
  context.DrawLine(0, 0, 10, 10);
  context.DrawLine(0, 10, 10, 0);
  // Once: 255 * 150 / 255 = 150; twice: (150 * 105 + 255 * 150) / 255 = 211.
  EXPECT_EQ(target.Pixel(1, 1), 0xFF960000u);
  EXPECT_EQ(target.Pixel(5, 5), 0xFFD30000u);
  // A single line paints each of its pixels once, end points included.
  EXPECT_EQ(target.Pixel(0, 0), 0xFF960000u);
  EXPECT_EQ(target.Pixel(10, 10), 0xFF960000u);
}

TEST(ClipSegmentTest, MovesOutsideEndsOntoTheBounds) {
  int32_t a1 = -3, b1 = 0, a2 = 7, b2 = 5;
  EXPECT_TRUE(ClipSegment(a1, b1, a2, b2, 0, 99));
  EXPECT_EQ(a1, 0);
  EXPECT_EQ(b1, 1);  // 1.5 truncated
  EXPECT_EQ(a2, 7);
  EXPECT_EQ(b2, 5);

  a1 = 105, b1 = 12, a2 = 95, b2 = 10;
  EXPECT_TRUE(ClipSegment(a1, b1, a2, b2, 0, 99));
  EXPECT_EQ(a1, 99);
  EXPECT_EQ(b1, 10);  // 10.8 truncated
}

TEST(ClipSegmentTest, TruncatesNegativeValuesTowardZero) {
  // Slope -1.5: from (-1, 0) to (1, -3); at a = 0 the b value is -1.5.
  int32_t a1 = -1, b1 = 0, a2 = 1, b2 = -3;
  EXPECT_TRUE(ClipSegment(a1, b1, a2, b2, 0, 10));
  EXPECT_EQ(a1, 0);
  EXPECT_EQ(b1, -1);
}

TEST(ClipSegmentTest, ClipsBothEndsWithTheEntrySlope) {
  int32_t a1 = 120, b1 = 0, a2 = -20, b2 = 14;
  EXPECT_TRUE(ClipSegment(a1, b1, a2, b2, 0, 99));
  EXPECT_EQ(a1, 99);
  EXPECT_EQ(b1, 2);  // 0 + (99 - 120) * -0.1 = 2.1
  EXPECT_EQ(a2, 0);
  EXPECT_EQ(b2, 12);  // 14 - (-20 - 0) * -0.1 = 12
}

TEST(ClipSegmentTest, ReportsSegmentsOnOneSideAsOutside) {
  int32_t a1 = -5, b1 = 1, a2 = -1, b2 = 9;
  EXPECT_FALSE(ClipSegment(a1, b1, a2, b2, 0, 99));
  EXPECT_EQ(a1, -5);
  EXPECT_EQ(b2, 9);
  a1 = 100, a2 = 140;
  EXPECT_FALSE(ClipSegment(a1, b1, a2, b2, 0, 99));
}

class BoxTest : public LineTest {};

TEST_F(BoxTest, BoxIsClippedToTheTarget) {
  target.context().DrawBox(-2, -2, 5, 5);
  Pixels expected;
  for (int32_t y = 0; y <= 2; ++y) {
    for (int32_t x = 0; x <= 2; ++x) {
      expected.insert({x, y});
    }
  }
  EXPECT_EQ(target.Changed(0), expected);
}

TEST_F(BoxTest, NegativeSizesCountBackFromThePoint) {
  target.context().DrawBox(10, 10, -3, -2);
  EXPECT_EQ(target.Changed(0), (Pixels{{7, 8}, {8, 8}, {9, 8}, {7, 9}, {8, 9}, {9, 9}}));
}

TEST_F(BoxTest, BoxAtTheFarCornerIsClipped) {
  target.context().DrawBox(98, 78, 10, 10);
  EXPECT_EQ(target.Changed(0), (Pixels{{98, 78}, {99, 78}, {98, 79}, {99, 79}}));
  target.Fill(0);
  target.context().DrawBox(100, 0, 5, 5);
  EXPECT_TRUE(target.Changed(0).empty());
}

TEST_F(BoxTest, OutlinePaintsEachBorderPixelOnce) {
  RasterBackend& context = target.context();
  target.Fill(0xFF000000u);
  context.SetDrawMode(DrawModeOutline | DrawModeXor);
  context.SetFrontColor(0x000001);
  context.DrawBox(2, 3, 4, 3);
  // XOR shows how often a pixel was painted: once flips it to red 1.
  Pixels border;
  for (int32_t x = 2; x <= 5; ++x) {
    border.insert({x, 3});
    border.insert({x, 5});
  }
  border.insert({2, 4});
  border.insert({5, 4});
  EXPECT_EQ(target.Changed(0xFF000000u), border);
  for (const auto& [x, y] : border) {
    EXPECT_EQ(target.Pixel(x, y), 0xFF010000u) << x << "," << y;
  }
}

TEST_F(BoxTest, OutlineIsClippedLikeItsSpans) {
  RasterBackend& context = target.context();
  context.SetDrawMode(DrawModeOutline);
  context.SetFrontColor(0xFFFFFF);
  context.DrawBox(-1, -1, 3, 3);
  EXPECT_EQ(target.Changed(0), (Pixels{{0, 1}, {1, 1}, {1, 0}}));
}

}  // namespace
}  // namespace drawing::draw
