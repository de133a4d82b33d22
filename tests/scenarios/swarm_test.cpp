// The swarm over whole runs: particles added with the left button, particle
// 0 that never moves, the attractor's first dwell.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "runtime/random.h"
#include "scenario.h"

namespace drawing::scenarios {
namespace {

TEST(Swarm, TenFramesOfTheLeftButtonAddTenParticlesAtTheAttractor) {
  ScenarioSetup setup;
  setup.maxFrames = 75;
  setup.input = {At(60, InputEvent::Button(1, true)), At(70, InputEvent::Button(1, false))};
  std::map<uint32_t, app::Point16> attractorAt;            // as each frame began
  std::map<uint32_t, app::ParticleValues> lastParticleAt;  // as each frame began
  Scenario* running = nullptr;
  setup.observe = [&](uint32_t frame, const app::AppState& state) {
    attractorAt[frame] = state.Attractor;
    lastParticleAt[frame] = running->Particles().back();
  };
  Scenario scenario(setup);
  running = &scenario;
  scenario.RunUntilEnd();

  const std::vector<app::ParticleValues> particles = scenario.Particles();
  ASSERT_EQ(particles.size(), 30u);
  for (uint32_t frame = 60; frame < 70; ++frame) {
    SCOPED_TRACE(frame);
    // Added in this frame's input step where the attractor stood, then
    // stepped once: the previous position is where it was added.
    const app::ParticleValues& added = lastParticleAt[frame + 1];
    EXPECT_EQ(added.prevX, attractorAt[frame].x);
    EXPECT_EQ(added.prevY, attractorAt[frame].y);
    const double f = (added.follow - 0.01f) * 100.0;
    EXPECT_NEAR(f, std::round(f), 1e-4);
    EXPECT_GE(std::lround(f), 0);
    EXPECT_LE(std::lround(f), 10);
    EXPECT_EQ(added.follow, static_cast<float>(std::round(f) / 100.0 + static_cast<double>(0.01f)));
  }
  // The attractor was travelling, so the ten positions are not all one.
  EXPECT_NE(attractorAt[60].x, attractorAt[69].x);
}

TEST(Swarm, AClickWhileMovingRightAddsTheParticleThenEnds) {
  ScenarioSetup setup;
  setup.input = {At(10, InputEvent::Button(1, true)), At(10, InputEvent::Move(4, 0))};
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().FrameNumber(), 10u);
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::UserInput);
  const std::vector<app::ParticleValues> particles = scenario.Particles();
  ASSERT_EQ(particles.size(), 21u);
  // Added at rest where the attractor stands (still dwelling at the origin);
  // no step ran after it, and it keeps the colour it was added with.
  EXPECT_EQ(particles.back().x, 0.0);
  EXPECT_EQ(particles.back().prevX, 0.0);
  // Its draws come after nine frames of six gradient draws: blue, green, then
  // the follow factor.
  runtime::Random twin([] { return 1u; });
  for (int draw = 0; draw < 9 * 6; ++draw) {
    twin.RandomUpTo(20);
  }
  const int32_t blue = twin.RandomUpTo(255);
  const int32_t green = twin.RandomUpTo(255);
  const int32_t f = twin.RandomUpTo(10);
  EXPECT_EQ(particles.back().red, 0);
  EXPECT_EQ(particles.back().green, green);
  EXPECT_EQ(particles.back().blue, blue);
  EXPECT_EQ(particles.back().follow, static_cast<float>(f / 100.0 + static_cast<double>(0.01f)));
}

TEST(Swarm, ParticleZeroNeverMoves) {
  ScenarioSetup setup;
  setup.maxFrames = 400;
  setup.input = {At(100, InputEvent::Button(1, true)), At(120, InputEvent::Button(1, false))};
  bool alwaysAtOrigin = true;
  Scenario* running = nullptr;
  setup.observe = [&](uint32_t, const app::AppState&) {
    const app::ParticleValues first = running->Particles().front();
    alwaysAtOrigin = alwaysAtOrigin && first.x == 0.0 && first.y == 0.0;
  };
  Scenario scenario(setup);
  running = &scenario;
  scenario.RunUntilEnd();
  EXPECT_TRUE(alwaysAtOrigin);
  const std::vector<app::ParticleValues> particles = scenario.Particles();
  EXPECT_EQ(particles.size(), 40u);
  EXPECT_EQ(particles.front().x, 0.0);
  EXPECT_NE(particles[19].x, 0.0) << "the others follow the attractor";
}

TEST(Swarm, AttractorDwellsFortyNineFramesAndLeavesInTheFiftieth) {
  ScenarioSetup setup;
  setup.maxFrames = 52;
  std::map<uint32_t, app::AppState> at;
  setup.observe = [&](uint32_t frame, const app::AppState& state) { at[frame] = state; };
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  // State as frame k begins is the result of frame k - 1.
  for (uint32_t frame = 1; frame <= 49; ++frame) {
    SCOPED_TRACE(frame);
    EXPECT_EQ(at[frame + 1].DwellCount, static_cast<int16_t>(frame));
    EXPECT_EQ(at[frame + 1].Attractor.x, 0);
    EXPECT_EQ(at[frame + 1].Attractor.y, 0);
  }
  const app::AppState& after50 = at[51];
  EXPECT_EQ(after50.DwellCount, 0);
  EXPECT_TRUE(after50.Attractor.x != 0 || after50.Attractor.y != 0);
  EXPECT_TRUE(std::abs(after50.Heading) == 10.0f);
  EXPECT_LE(after50.Target.x, 320.0);
  EXPECT_LE(after50.Target.y, 240.0);
}

TEST(Swarm, SameSeedSameRun) {
  const auto run = [](uint32_t seed) {
    ScenarioSetup setup;
    setup.seed = seed;
    setup.maxFrames = 150;
    Scenario scenario(setup);
    scenario.RunUntilEnd();
    return scenario.Particles();
  };
  const std::vector<app::ParticleValues> a = run(5);
  const std::vector<app::ParticleValues> b = run(5);
  const std::vector<app::ParticleValues> c = run(6);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].x, b[i].x);
    EXPECT_EQ(a[i].y, b[i].y);
  }
  EXPECT_NE(a[10].x, c[10].x);
}

}  // namespace
}  // namespace drawing::scenarios
