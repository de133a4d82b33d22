#include "app/gradient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/particle.h"
#include "app/swarm.h"
#include "runtime/element_list.h"
#include "runtime/main_heap.h"

namespace drawing::app {
namespace {

class GradientTest : public ::testing::Test {
 protected:
  GradientTest() : random([] { return 99u; }), twin([] { return 99u; }) {
    state.Swarm = runtime::ListNew(heap, kParticleSize, &state.swarmCurrent);
    state.TailColour = kStartTailColour;
    state.HeadColour = kStartHeadColour;
  }

  void AddParticles(int count) {
    for (int i = 0; i < count; ++i) {
      AddParticle(state, 0.0f, 1, 2, 3);
    }
  }

  std::vector<Colour16> Colours() {
    std::vector<Colour16> all;
    const runtime::ListView<Particle> swarm = SwarmOf(state);
    swarm.Rewind();
    while (Particle* p = swarm.Next()) {
      all.push_back({p->red, p->green, p->blue});
    }
    return all;
  }

  runtime::MainHeap heap;
  AppState state{};
  runtime::Random random;
  runtime::Random twin;
};

TEST_F(GradientTest, ColoursRunFromHeadToTailWithTheCountAsDivisor) {
  AddParticles(20);
  UpdateGradient(state, random);
  const std::vector<Colour16> colours = Colours();
  ASSERT_EQ(colours.size(), 20u);
  for (int p = 0; p < 20; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(colours[p].r, 12 * p);  // 255 div 20 = 12
    EXPECT_EQ(colours[p].g, 0);
    EXPECT_EQ(colours[p].b, 12 * (20 - p));
  }
}

TEST_F(GradientTest, ColoursAtTheirLimitsGive228ForTheLastParticle) {
  AddParticles(20);
  state.TailColour = {255, 255, 255};
  state.HeadColour = {0, 0, 0};
  UpdateGradient(state, random);
  const std::vector<Colour16> colours = Colours();
  EXPECT_EQ(colours.back().r, 228);
  EXPECT_EQ(colours.back().g, 228);
  EXPECT_EQ(colours.back().b, 228);
  EXPECT_EQ(colours.front().r, 0);
}

TEST_F(GradientTest, SixDrawsInTheOrderTailRgbThenHeadRgb) {
  AddParticles(5);
  state.TailColour = {100, 110, 120};
  state.HeadColour = {130, 140, 150};
  UpdateGradient(state, random);
  int32_t d[6];
  for (int32_t& draw : d) {
    draw = twin.RandomUpTo(20) - 10;
  }
  EXPECT_EQ(state.TailColour.r, 100 + d[0]);
  EXPECT_EQ(state.TailColour.g, 110 + d[1]);
  EXPECT_EQ(state.TailColour.b, 120 + d[2]);
  EXPECT_EQ(state.HeadColour.r, 130 + d[3]);
  EXPECT_EQ(state.HeadColour.g, 140 + d[4]);
  EXPECT_EQ(state.HeadColour.b, 150 + d[5]);
  EXPECT_EQ(random.RandomUpTo(-1), twin.RandomUpTo(-1)) << "no seventh draw";
}

TEST_F(GradientTest, NewColoursApplyFromTheNextCall) {
  AddParticles(2);
  state.TailColour = {100, 100, 100};
  state.HeadColour = {200, 200, 200};
  UpdateGradient(state, random);
  // Recolouring uses the colours before this call's drift.
  std::vector<Colour16> colours = Colours();
  EXPECT_EQ(colours[0].r, 200);  // (200 div 2) * 2
  EXPECT_EQ(colours[1].r, 150);  // 50 + 100
  const Colour16 tail = state.TailColour;
  const Colour16 head = state.HeadColour;
  UpdateGradient(state, random);
  colours = Colours();
  EXPECT_EQ(colours[0].g, (head.g / 2) * 2);
  EXPECT_EQ(colours[1].b, tail.b / 2 + head.b / 2);
}

// The first draw of a generator seeded with `seed`.
int32_t FirstDraw(uint32_t seed) {
  runtime::Random probe([seed] { return seed; });
  return probe.RandomUpTo(20);
}

TEST_F(GradientTest, DriftIsClampedTo0To255) {
  uint32_t up = 0;
  while (FirstDraw(up) != 20) {
    ++up;
  }
  uint32_t down = 0;
  while (FirstDraw(down) != 0) {
    ++down;
  }
  runtime::Random rising([up] { return up; });
  state.TailColour = {255, 100, 100};
  UpdateGradient(state, rising);
  EXPECT_EQ(state.TailColour.r, 255) << "255 + 10 stays 255";

  runtime::Random falling([down] { return down; });
  state.TailColour = {3, 100, 100};
  UpdateGradient(state, falling);
  EXPECT_EQ(state.TailColour.r, 0) << "3 - 10 becomes 0";
}

TEST_F(GradientTest, ColoursStayInRangeOverManyFrames) {
  AddParticles(7);
  for (int frame = 0; frame < 2000; ++frame) {
    UpdateGradient(state, random);
    for (const Colour16 c : {state.TailColour, state.HeadColour}) {
      ASSERT_GE(std::min({c.r, c.g, c.b}), 0);
      ASSERT_LE(std::max({c.r, c.g, c.b}), 255);
    }
  }
}

}  // namespace
}  // namespace drawing::app
