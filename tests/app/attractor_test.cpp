#include "app/attractor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace drawing::app {
namespace {

class AttractorTest : public ::testing::Test {
 protected:
  AttractorTest() : random([] { return 7u; }), twin([] { return 7u; }) {
    state.StepLength = kStartStepLength;
    state.ScreenWidth = 640;
    state.ScreenHeight = 480;
  }

  // A target at compass bearing `degrees` from the attractor, far away.
  void AimAt(double degrees) {
    const double radians = degrees * 3.14159265358979323846 / 180;
    state.Target = {state.Attractor.x + 1000 * std::sin(radians),
                    state.Attractor.y - 1000 * std::cos(radians)};
  }

  AppState state{};
  runtime::Random random;
  runtime::Random twin;  // same seed: predicts random's draws
};

TEST_F(AttractorTest, DwellsFortyNineFramesThenLeavesInTheFiftieth) {
  for (int frame = 1; frame <= 49; ++frame) {
    SteerAttractor(state, random);
    ASSERT_EQ(state.DwellCount, frame);
    ASSERT_EQ(state.Attractor.x, 0);
    ASSERT_EQ(state.Attractor.y, 0);
    ASSERT_EQ(state.Heading, 0.0f);
  }
  EXPECT_EQ(random.state().seeded, 0u) << "no draw while dwelling";

  SteerAttractor(state, random);  // frame 50
  EXPECT_EQ(state.DwellCount, 0);
  const int32_t ny = twin.RandomUpTo(480);  // height first
  const int32_t nx = twin.RandomUpTo(640);
  EXPECT_EQ(state.Target.x, nx);
  EXPECT_EQ(state.Target.y, ny);
  EXPECT_EQ(random.RandomUpTo(1000), twin.RandomUpTo(1000)) << "exactly two draws";
  // It moved in the same frame, one step of about 30 pixels.
  const double moved = std::hypot(state.Attractor.x, state.Attractor.y);
  EXPECT_GT(moved, 28.0);
  EXPECT_LT(moved, 32.0);
}

TEST_F(AttractorTest, TargetStraightRightTurnsTenDegreesAndSteps) {
  state.Attractor = {100, 100};
  state.Target = {400, 100};
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, 10.0f);
  EXPECT_EQ(state.Attractor.x, 105);  // 100 + 5.209
  EXPECT_EQ(state.Attractor.y, 70);   // 100 - 29.544
  EXPECT_EQ(state.DwellCount, 0);
}

TEST_F(AttractorTest, HeadingIsNotWrappedPast360) {
  state.Heading = 350.0f;
  AimAt(10);
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, 360.0f);
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, 370.0f);
}

TEST_F(AttractorTest, SmallDifferencesDoNotTurn) {
  state.Heading = 95.0f;
  AimAt(90);  // d = -5
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, 95.0f);
  EXPECT_EQ(state.Attractor.x, 30);  // 30 * sin 95 = 29.886
  EXPECT_EQ(state.Attractor.y, 3);   // -30 * cos 95 = 2.615
}

TEST_F(AttractorTest, WoundHeadingTurnsBackTheLongWay) {
  // 560 degrees points at 200; bearing 10 is 170 clockwise, 190 back.
  state.Heading = 560.0f;
  AimAt(10);
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, 550.0f);

  // Symmetric below -180: -200 points at 160; bearing 350 is 170 back.
  state.Heading = -200.0f;
  state.Attractor = {0, 0};
  AimAt(350);
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, -190.0f);
}

TEST_F(AttractorTest, TurnsLeftTowardsATargetOnTheLeft) {
  state.Heading = 0.0f;
  AimAt(270);
  SteerAttractor(state, random);
  EXPECT_EQ(state.Heading, -10.0f);
}

TEST_F(AttractorTest, NewTargetOnTheAttractorTurnsRightAndMoves) {
  // A 0x0 screen can only give the target (0, 0), where the attractor stands:
  // the bearing is 0/0, not a number.
  state.ScreenWidth = 0;
  state.ScreenHeight = 0;
  state.DwellCount = 49;
  SteerAttractor(state, random);
  EXPECT_EQ(state.DwellCount, 0);
  EXPECT_EQ(state.Target.x, 0.0);
  EXPECT_EQ(state.Target.y, 0.0);
  EXPECT_EQ(state.Heading, 10.0f);
  EXPECT_EQ(state.Attractor.x, 5);
  EXPECT_EQ(state.Attractor.y, -30);
}

TEST_F(AttractorTest, NearTargetIsStrictPerAxis) {
  state.Attractor = {100, 100};
  state.Target = {119.5, 80.5};
  SteerAttractor(state, random);
  EXPECT_EQ(state.DwellCount, 1);
  EXPECT_EQ(state.Attractor.x, 100);

  AppState away = state;
  away.DwellCount = 0;
  away.Target = {120, 100};  // exactly 20 away: not near
  SteerAttractor(away, random);
  EXPECT_EQ(away.DwellCount, 0);
  EXPECT_NE(away.Attractor.x, 100);
}

TEST_F(AttractorTest, TargetMayBeOnePastTheLastPixel) {
  // RandomUpTo(n) includes n: over many targets both edges appear.
  state.ScreenWidth = 3;
  state.ScreenHeight = 2;
  bool sawWidth = false;
  bool sawHeight = false;
  for (int i = 0; i < 200; ++i) {
    state.DwellCount = 49;
    state.Attractor = {0, 0};
    state.Target = {0, 0};
    SteerAttractor(state, random);
    ASSERT_LE(state.Target.x, 3.0);
    ASSERT_LE(state.Target.y, 2.0);
    sawWidth = sawWidth || state.Target.x == 3.0;
    sawHeight = sawHeight || state.Target.y == 2.0;
  }
  EXPECT_TRUE(sawWidth);
  EXPECT_TRUE(sawHeight);
}

}  // namespace
}  // namespace drawing::app
