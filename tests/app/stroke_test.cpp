#include "app/stroke.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "draw/drawing.h"
#include "draw/raster_backend.h"
#include "platform/hosts/headless/headless_system.h"
#include "runtime/main_heap.h"

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

// The whole stroke at once against StrokeLine line by line: positions on
// and far off the screen, at halves, past the 32-bit range, not numbers.
TEST(Stroke, WholeStrokeMatchesItsLinesOneByOne) {
  std::mt19937 random(20261207u);
  std::uniform_real_distribution<double> screen(-100.0, 4000.0);
  std::uniform_int_distribution<int> half(-40, 4000);
  std::uniform_int_distribution<int> kind(0, 7);
  const double unusual[] = {1073741823.5,
                            -1073741824.5,
                            2147483647.0,
                            2147483660.25,
                            -2147483700.0,
                            2000000000.25,
                            -1073741830.0,
                            3e15,
                            std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(),
                            0.49999999999999994,
                            -0.5};
  std::uniform_int_distribution<size_t> pickUnusual(0, std::size(unusual) - 1);
  const auto value = [&]() {
    switch (kind(random)) {
      case 0:
        return half(random) + 0.5;
      case 1:
        return unusual[pickUnusual(random)];
      default:
        return screen(random);
    }
  };
  for (int n = 0; n < 20000; ++n) {
    const Particle p = At(value(), value(), value(), value());
    const Stroke stroke = MakeStroke(p);
    const int32_t start = StrokeStartColumn(p);
    bool shifted = true;
    const Line centre = StrokeLine(p, start, 0);
    for (int32_t i = -StrokeHalfWidth; i <= StrokeHalfWidth; ++i) {
      const Line expected = StrokeLine(p, start, i);
      const Line line = stroke.LineAt(i);
      ASSERT_EQ(line.x1, expected.x1) << n;
      ASSERT_EQ(line.y1, expected.y1) << n << " offset " << i << " y " << p.y;
      ASSERT_EQ(line.x2, expected.x2) << n;
      ASSERT_EQ(line.y2, expected.y2) << n << " offset " << i << " prevY " << p.prevY;
      shifted = shifted && static_cast<int64_t>(expected.y1) - centre.y1 == i &&
                static_cast<int64_t>(expected.y2) - centre.y2 == i;
    }
    const auto near = [](int32_t row) { return row >= -(1 << 30) && row <= (1 << 30); };
    ASSERT_EQ(stroke.Parallel(), shifted && near(centre.y1) && near(centre.y2))
        << n << " y " << p.y << " prevY " << p.prevY;
  }
}

TEST(Stroke, RowsRoundingAtAHalfAreNotParallel) {
  EXPECT_FALSE(MakeStroke(At(0, 2.5, 0, 7)).Parallel());
  EXPECT_FALSE(MakeStroke(At(0, 7, 0, -3.5)).Parallel());
  EXPECT_TRUE(MakeStroke(At(0, 2.25, 0, 7.75)).Parallel());
  // 0.49999999999999994 + 1 is 1.5 as a double: rounds to 2, not to 1.
  EXPECT_FALSE(MakeStroke(At(0, 0.49999999999999994, 0, 7)).Parallel());
}

// A canvas of opaque pixels in varied colours, drawn on through Drawing.
class StrokeCanvas {
 public:
  static constexpr int32_t kWidth = 80;
  static constexpr int32_t kHeight = 90;

  StrokeCanvas() : drawing_(heap_, system_), pixels_(kWidth * kHeight * 4) {
    for (size_t k = 0; k < pixels_.size(); ++k) {
      pixels_[k] = k % 4 == 3 ? 255 : static_cast<uint8_t>(k * 37 % 251);
    }
    drawing_.InitDrawing();
    drawing_.BeginDraw(drawing_.NewDrawContext<draw::RasterBackend>(platform::Rows::BottomUp(
        pixels_.data(), kWidth * 4, kWidth, kHeight, platform::PixelLayout::Bgrx32)));
    drawing_.SetDrawMode(draw::DrawModeAlphaBlend);
  }
  ~StrokeCanvas() { drawing_.EndDraw(); }

  draw::Drawing& drawing() { return drawing_; }
  const std::vector<uint8_t>& pixels() const { return pixels_; }

 private:
  runtime::MainHeap heap_;
  platform::headless::HeadlessSystem system_;
  draw::Drawing drawing_;
  std::vector<uint8_t> pixels_;
};

// DrawStroke, band or not, gives the pixels of the stroke's 31 lines drawn
// one by one: strokes inside, across an edge, and rounding at a half.
TEST(Stroke, DrawStrokeEqualsItsLinesOneByOne) {
  const Particle particles[] = {At(40, 45, 31.3, 52.2),  At(40.2, 45, 41.7, 20.6),
                                At(40, 2.5, 37, 9.5),    At(3, 80, -6.2, 70.1),
                                At(40, 45.5, 46, 40.25), At(20.4, 30.6, 20.4, 30.6)};
  for (const Particle& p : particles) {
    const draw::Colour colour = 0x96000000u | 0x3A7FC1u;
    StrokeCanvas stroke;
    DrawStroke(stroke.drawing(), MakeStroke(p), colour);
    StrokeCanvas lines;
    const int32_t start = StrokeStartColumn(p);
    for (int32_t i = -StrokeHalfWidth; i <= StrokeHalfWidth; ++i) {
      const Line line = StrokeLine(p, start, i);
      lines.drawing().DrawLine(line.x1, line.y1, line.x2, line.y2, colour);
    }
    EXPECT_TRUE(stroke.pixels() == lines.pixels()) << "particle at " << p.x << "," << p.y;
  }
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
