// What the user sees: the strokes in the Canvas and the screen that shows
// the Canvas with the particles' boxes.
#include <gtest/gtest.h>

#include "scenario.h"

namespace drawing::scenarios {
namespace {

// A stroke channel over an opaque pixel at alpha 150.
uint32_t Blend(uint32_t old, uint32_t colour) {
  return (105 * old + 150 * colour) / 255;
}

// The first frame's colour at a stroked pixel: the twenty start-up colours
// (13 i, 0, 13 (19 - i)) laid over black in swarm order.
uint32_t FirstFrameStrokeColour() {
  uint32_t red = 0;
  uint32_t blue = 0;
  for (uint32_t i = 0; i < 20; ++i) {
    red = Blend(red, 13 * i);
    blue = Blend(blue, 13 * (19 - i));
  }
  return 0xFF000000u | red << 16 | blue;
}

uint32_t ScreenPixel(const platform::headless::PresentedFrame& frame, uint32_t x, uint32_t y) {
  return frame.Pixel(x, y) & 0xFFFFFFu;
}

TEST(Canvas, FirstFrameStrokesAreTwoPixelLinesAtTheTopLeft) {
  ScenarioSetup setup;
  setup.maxFrames = 1;
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  const uint32_t stroke = FirstFrameStrokeColour();
  // Lines from (1, i) to (0, i) for i = -15..15; rows 0..15 are on the Canvas.
  for (int32_t y = 0; y <= 15; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(scenario.CanvasPixel(0, y), stroke);
    EXPECT_EQ(scenario.CanvasPixel(1, y), stroke);
    EXPECT_EQ(scenario.CanvasPixel(2, y), 0xFF000000u);
  }
  EXPECT_EQ(scenario.CanvasPixel(0, 16), 0xFF000000u);
  EXPECT_EQ(scenario.CanvasPixel(1, 16), 0xFF000000u);
  EXPECT_EQ(scenario.CanvasPixel(319, 239), 0xFF000000u);
}

TEST(Canvas, ScreenShowsTheCanvasOneFrameLateWithBoxesOnTop) {
  ScenarioSetup setup;
  setup.maxFrames = 2;
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  const auto& frames = scenario.Host().Display().Frames();
  ASSERT_EQ(frames.size(), 2u);
  const platform::headless::PresentedFrame& first = frames[0];
  const platform::headless::PresentedFrame& second = frames[1];
  EXPECT_EQ(first.frame, 1);
  EXPECT_EQ(second.frame, 2);
  // Frame 1: the black Canvas and the boxes at (-1..1, -1..1); the last
  // particle's box (247, 0, 0) is on top.
  EXPECT_EQ(ScreenPixel(first, 0, 0), 0xF70000u);
  EXPECT_EQ(ScreenPixel(first, 1, 1), 0xF70000u);
  EXPECT_EQ(ScreenPixel(first, 2, 0), 0u);
  EXPECT_EQ(ScreenPixel(first, 0, 5), 0u) << "strokes are not on the screen yet";
  // Frame 2: frame 1's strokes show; the boxes are in the colours of frame
  // 1's gradient (divisor 20): the last particle is (12 * 19, 0, 12).
  const uint32_t stroke = FirstFrameStrokeColour() & 0xFFFFFFu;
  EXPECT_EQ(ScreenPixel(second, 0, 5), stroke);
  EXPECT_EQ(ScreenPixel(second, 1, 15), stroke);
  EXPECT_EQ(ScreenPixel(second, 0, 0), 0xE4000Cu);
}

TEST(Canvas, StrokesAccumulateAndAreNeverCleared) {
  ScenarioSetup setup;
  setup.maxFrames = 1;
  Scenario one(setup);
  one.RunUntilEnd();
  setup.maxFrames = 3;
  Scenario three(setup);
  three.RunUntilEnd();
  // Particle 0 paints the same two columns every frame: three layers deep.
  EXPECT_NE(one.CanvasPixel(0, 10), three.CanvasPixel(0, 10));
  EXPECT_EQ(three.CanvasPixel(0, 10) >> 24, 0xFFu) << "the Canvas stays opaque";
}

}  // namespace
}  // namespace drawing::scenarios
