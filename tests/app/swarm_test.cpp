#include "app/swarm.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/particle_values.h"
#include "runtime/element_list.h"
#include "runtime/main_heap.h"

namespace drawing::app {
namespace {

class SwarmTest : public ::testing::Test {
 protected:
  SwarmTest() {
    state.Swarm = runtime::ListNew(heap, kParticleSize, &state.swarmCurrent);
    state.TailColour = kStartTailColour;
    state.HeadColour = kStartHeadColour;
    state.StepLength = kStartStepLength;
  }

  std::vector<ParticleValues> Particles() {
    std::vector<ParticleValues> all;
    const runtime::ListView<Particle> swarm = SwarmOf(state);
    swarm.Rewind();
    while (Particle* p = swarm.Next()) {
      all.push_back(Values(*p));
    }
    return all;
  }

  runtime::MainHeap heap;
  AppState state{};
};

TEST_F(SwarmTest, AddedParticleStartsAtRestAtTheAttractor) {
  state.Attractor = {120, -7};
  AddParticle(state, 0.25f, 1, 2, 3);
  const std::vector<ParticleValues> all = Particles();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].x, 120.0);
  EXPECT_EQ(all[0].y, -7.0);
  EXPECT_EQ(all[0].prevX, 120.0);
  EXPECT_EQ(all[0].prevY, -7.0);
  EXPECT_EQ(all[0].pullX, 0.0);
  EXPECT_EQ(all[0].pullY, 0.0);
  EXPECT_EQ(all[0].follow, 0.25f);
  EXPECT_EQ(all[0].red, 1);
  EXPECT_EQ(all[0].green, 2);
  EXPECT_EQ(all[0].blue, 3);
  EXPECT_EQ(state.swarmCurrent, runtime::ListData(state.Swarm->last));
}

TEST_F(SwarmTest, AfterAPassNewParticlesGoToTheEnd) {
  AddStartParticles(state);
  StepParticles(state);  // leaves the cursor on the last element
  state.Attractor = {40, 50};
  AddParticle(state, 0.05f, 0, 9, 9);
  const std::vector<ParticleValues> all = Particles();
  ASSERT_EQ(all.size(), 21u);
  EXPECT_EQ(all.back().x, 40.0);
  EXPECT_EQ(all.back().green, 9);
  EXPECT_EQ(all.front().follow, 0.0f);
}

TEST_F(SwarmTest, StartSwarmHasTwentyParticlesWithDivisor19Colours) {
  AddStartParticles(state);
  const std::vector<ParticleValues> all = Particles();
  ASSERT_EQ(all.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(all[i].x, 0.0);
    EXPECT_EQ(all[i].y, 0.0);
    EXPECT_EQ(all[i].red, 13 * i);
    EXPECT_EQ(all[i].green, 0);
    EXPECT_EQ(all[i].blue, 13 * (19 - i));
    EXPECT_EQ(all[i].follow, static_cast<float>(i * static_cast<double>(0.01f)));
  }
  EXPECT_EQ(all[0].blue, 247);
  EXPECT_EQ(all[19].red, 247);
  EXPECT_EQ(all[0].follow, 0.0f);
  // The product is rounded once to a float: 3 * 0.01f stored, not 0.03f.
  EXPECT_EQ(all[3].follow, static_cast<float>(3.0 * 0.00999999977648258209228515625));
}

TEST_F(SwarmTest, ParticleWithFollowZeroNeverMoves) {
  AddStartParticles(state);
  for (int frame = 0; frame < 200; ++frame) {
    state.Attractor = {static_cast<int16_t>(frame * 7), static_cast<int16_t>(300 - frame)};
    StepParticles(state);
  }
  const std::vector<ParticleValues> all = Particles();
  EXPECT_EQ(all[0].x, 0.0);
  EXPECT_EQ(all[0].y, 0.0);
  EXPECT_EQ(all[0].prevX, 0.0);
  EXPECT_NE(all[1].x, 0.0);
}

TEST_F(SwarmTest, ParticleAtAStillAttractorStaysPut) {
  state.Attractor = {33, 44};
  AddParticle(state, 0.11f, 0, 0, 0);
  StepParticles(state);
  const std::vector<ParticleValues> all = Particles();
  EXPECT_EQ(all[0].x, 33.0);
  EXPECT_EQ(all[0].y, 44.0);
}

TEST_F(SwarmTest, FirstStepMovesByAboutNinetyFivePercentOfThePull) {
  state.Attractor = {0, 0};
  AddParticle(state, 0.1f, 0, 0, 0);
  state.Attractor = {100, -40};
  StepParticles(state);
  const ParticleValues p = Particles()[0];
  const double k = 0.0500000007450580596923828125;
  const double follow = 0.100000001490116119384765625;
  EXPECT_EQ(p.pullX, 100.0 * follow);
  EXPECT_EQ(p.pullY, -40.0 * follow);
  // x' = pull, then damped by k of the move: (1 - k) * follow * offset.
  EXPECT_EQ(p.x, 100.0 * follow + (0.0 - 100.0 * follow) * k);
  EXPECT_EQ(p.y, -40.0 * follow + (0.0 - -40.0 * follow) * k);
  EXPECT_NEAR(p.x, 0.95 * 0.1 * 100.0, 1e-6);
  EXPECT_EQ(p.prevX, 0.0);
  EXPECT_EQ(p.prevY, 0.0);
}

TEST_F(SwarmTest, StepKeepsMomentumWithDamping) {
  Particle p{};
  p.x = 10.0;
  p.prevX = 8.0;  // moving right by 2
  p.y = 5.0;
  p.prevY = 5.0;
  p.follow = 0.0f;
  StepParticle(p, 1000, 1000);
  const ParticleValues v = Values(p);
  const double k = static_cast<double>(0.05f);
  // Velocity 2 becomes (1 - 2k) * 2 with no pull.
  EXPECT_EQ(v.x, (10.0 * 2.0 - 8.0) + (8.0 - (10.0 * 2.0 - 8.0)) * k);
  EXPECT_NEAR(v.x - 10.0, 0.9 * 2.0, 1e-6);
  EXPECT_EQ(v.prevX, 10.0);
  EXPECT_EQ(v.y, 5.0);
  EXPECT_EQ(v.pullX, 0.0);
}

}  // namespace
}  // namespace drawing::app
