// How the program ends: the frame in which a key or a move right or down is
// first seen, before that frame's simulation step.
#include <gtest/gtest.h>

#include "scenario.h"

namespace drawing::scenarios {
namespace {

struct Snapshot {
  app::Point16 attractor;
  int16_t dwell;
  app::Colour16 tail;
};

// Runs `setup` and checks that it ended by input in frame `frame` with the
// state that frame began with: no simulation step ran in it.
void ExpectEndIn(ScenarioSetup setup, uint32_t frame) {
  Snapshot atStart{};
  setup.observe = [&](uint32_t current, const app::AppState& state) {
    if (current == frame) {
      atStart = {state.Attractor, state.DwellCount, state.TailColour};
    }
  };
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().FrameNumber(), frame);
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::UserInput);
  const app::AppState& state = scenario.App().State();
  EXPECT_EQ(state.DwellCount, atStart.dwell);
  EXPECT_EQ(state.Attractor.x, atStart.attractor.x);
  EXPECT_EQ(state.TailColour.r, atStart.tail.r);
  EXPECT_EQ(state.TailColour.g, atStart.tail.g);
  EXPECT_EQ(state.TailColour.b, atStart.tail.b);
}

// Runs `setup` and checks that nothing in it ended the program before its
// frame limit.
void ExpectNoEnd(const ScenarioSetup& setup) {
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::FrameLimit);
  EXPECT_EQ(scenario.App().FrameNumber(), *setup.maxFrames);
}

TEST(Exit, EscapeEndsInTheFrameItIsFirstSeenBeforeTheSimulation) {
  ScenarioSetup setup;
  setup.input = {At(7, InputEvent::KeyDown(1))};
  ExpectEndIn(setup, 7);
}

TEST(Exit, AnyOtherKeyEndsToo) {
  for (int32_t code : {0, 2, 30, 32, 57, 200, 254}) {
    SCOPED_TRACE(code);
    ScenarioSetup setup;
    setup.input = {At(3, InputEvent::KeyDown(code))};
    ExpectEndIn(setup, 3);
  }
}

TEST(Exit, KeyHeldFromTheStartEndsTheFirstFrame) {
  ScenarioSetup setup;
  setup.input = {At(0, InputEvent::KeyDown(57))};
  ExpectEndIn(setup, 1);
}

TEST(Exit, CodeTwoHundredFiftyFiveIsNeverLookedAt) {
  ScenarioSetup setup;
  setup.maxFrames = 30;
  setup.input = {At(3, InputEvent::KeyDown(255))};
  ExpectNoEnd(setup);
}

TEST(Exit, SKeyAloneDoesNotEnd) {
  ScenarioSetup setup;
  setup.maxFrames = 40;
  setup.saveName = "";  // nothing is written
  setup.input = {At(5, InputEvent::KeyDown(31))};
  ExpectNoEnd(setup);
}

TEST(Exit, SHeldWithAnotherKeyEnds) {
  ScenarioSetup setup;
  setup.input = {At(5, InputEvent::KeyDown(31)), At(9, InputEvent::KeyDown(16))};
  setup.saveName = "";
  ExpectEndIn(setup, 9);
}

TEST(Exit, MoveRightEnds) {
  ScenarioSetup setup;
  setup.input = {At(12, InputEvent::Move(1, 0))};
  ExpectEndIn(setup, 12);
}

TEST(Exit, MoveDownEnds) {
  ScenarioSetup setup;
  setup.input = {At(4, InputEvent::Move(0, 1))};
  ExpectEndIn(setup, 4);
}

TEST(Exit, MoveLeftAndUpDoNotEnd) {
  ScenarioSetup setup;
  setup.maxFrames = 60;
  setup.input = {At(4, InputEvent::Move(-50, -50)), At(5, InputEvent::Move(-1, 0)),
                 At(6, InputEvent::Move(0, -1))};
  ExpectNoEnd(setup);
}

TEST(Exit, MovesAreSummedPerFrame) {
  // Left 5 then right 3 in one frame: a net move left, which does not end.
  ScenarioSetup setup;
  setup.maxFrames = 20;
  setup.input = {At(4, InputEvent::Move(-5, 0)), At(4, InputEvent::Move(3, 0))};
  ExpectNoEnd(setup);
}

TEST(Exit, KeyPressedAndLetGoWithinOneFrameIsNeverSeen) {
  ScenarioSetup setup;
  setup.maxFrames = 20;
  setup.input = {At(4, InputEvent::KeyDown(57)), At(4, InputEvent::KeyUp(57))};
  ExpectNoEnd(setup);
}

TEST(Exit, KeyLetGoAndPressedAgainWithinOneFrameIsHeld) {
  ScenarioSetup setup;
  setup.input = {At(0, InputEvent::KeyDown(57)), At(1, InputEvent::KeyUp(57)),
                 At(1, InputEvent::KeyDown(57))};
  ExpectEndIn(setup, 1);
}

TEST(Exit, ButtonsAloneDoNotEnd) {
  ScenarioSetup setup;
  setup.maxFrames = 15;
  setup.input = {At(2, InputEvent::Button(2, true)), At(3, InputEvent::Button(3, true)),
                 At(5, InputEvent::Button(2, false))};
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::FrameLimit);
  EXPECT_EQ(scenario.Particles().size(), 20u) << "only the left button adds";
}

TEST(Exit, StopRequestEndsThroughTheShutdown) {
  std::atomic<bool> stop{false};
  platform::headless::HeadlessHost host(HostConfig(ScenarioSetup{}));
  app::ApplicationOptions options;
  options.seed = 1;
  options.stopRequest = &stop;
  options.beginFrame = [&](uint32_t frame) {
    host.BeginFrame(static_cast<int32_t>(frame));
    if (frame == 25) {
      stop = true;  // as a signal arriving during frame 25
    }
  };
  app::Application application(host.GetPlatform(), std::move(options));
  EXPECT_EQ(application.Run(), 0);
  EXPECT_EQ(application.FrameNumber(), 25u);
  EXPECT_EQ(application.EndReason(), app::RunEnd::StopRequest);
  EXPECT_FALSE(host.Display().DeviceOpen());
  EXPECT_EQ(host.System().OpenTimePeriods(), 0);
}

}  // namespace
}  // namespace drawing::scenarios
