#include "runtime/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace drawing::runtime {
namespace {

std::uint32_t Raw(Random& random) {
  return static_cast<std::uint32_t>(random.RandomUpTo(-1));
}

std::vector<std::int32_t> Draw(Random& random, std::int32_t n, int times) {
  std::vector<std::int32_t> values;
  for (int k = 0; k < times; ++k) {
    values.push_back(random.RandomUpTo(n));
  }
  return values;
}

std::vector<std::uint32_t> RawValuesAfterSeed(std::uint32_t seed, int times) {
  Random random;
  random.SeedRandom(seed);
  std::vector<std::uint32_t> values;
  for (int k = 0; k < times; ++k) {
    values.push_back(Raw(random));
  }
  return values;
}

TEST(Random, RawValuesAfterKnownSeeds) {
  EXPECT_EQ(RawValuesAfterSeed(0, 4),
            (std::vector<std::uint32_t>{0x8B910D61, 0xC8AFE081, 0xA90E502F, 0x60EE47BF}));
  EXPECT_EQ(RawValuesAfterSeed(1, 4),
            (std::vector<std::uint32_t>{0xB8C1309F, 0x2E59857A, 0x9B9E595F, 0xE9D44743}));
}

TEST(Random, SeedOneUpToTwenty) {
  Random random;
  random.SeedRandom(1);
  EXPECT_EQ(Draw(random, 20, 12),
            (std::vector<std::int32_t>{15, 3, 12, 19, 0, 2, 10, 6, 8, 17, 15, 15}));
}

TEST(Random, Seed12345UpTo255) {
  Random random;
  random.SeedRandom(12345);
  EXPECT_EQ(Draw(random, 255, 6), (std::vector<std::int32_t>{71, 181, 169, 87, 149, 70}));
}

TEST(Random, SeedingLeavesTheLagIndicesThirtyOneStepsBack) {
  for (std::uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
    Random random;
    random.SeedRandom(seed);
    EXPECT_EQ(random.state().i, 3);
    EXPECT_EQ(random.state().j, 13);
    EXPECT_EQ(random.state().seeded, 1u);
  }
}

TEST(Random, StepReturnsBothWords) {
  Random random;
  random.SeedRandom(0);
  const RandomWords first = random.RandomStep();
  EXPECT_EQ(first.first, 0x8B910D61u);
  EXPECT_EQ(first.second, 0x60217BDFu);
  const RandomWords second = random.RandomStep();
  EXPECT_EQ(second.first, 0xC8AFE081u);
  EXPECT_EQ(second.second, 0xED8E05C2u);
  // A step moves both lag indices back by one.
  EXPECT_EQ(random.state().i, 1);
  EXPECT_EQ(random.state().j, 11);
}

TEST(Random, UpToZeroIsZeroButStillAdvances) {
  Random random;
  random.SeedRandom(0);
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(random.RandomUpTo(0), 0);
  }
  // Five steps consumed: the next raw value is the sixth of the sequence.
  Random reference;
  reference.SeedRandom(0);
  for (int k = 0; k < 5; ++k) {
    reference.RandomStep();
  }
  EXPECT_EQ(Raw(random), reference.RandomStep().first);
}

TEST(Random, ResultsStayWithinZeroToN) {
  Random random;
  random.SeedRandom(99);
  for (std::int32_t n : {1, 10, 255, 1919, 0x7FFFFFFE}) {
    for (int k = 0; k < 200; ++k) {
      const std::int32_t value = random.RandomUpTo(n);
      ASSERT_GE(value, 0);
      ASSERT_LE(value, n);
    }
  }
}

TEST(Random, NegativeRangeBelowMinusOneIsTakenUnsigned) {
  Random random;
  random.SeedRandom(0);
  Random reference;
  reference.SeedRandom(0);
  // n = -3 means m = 2^32 - 2.
  const std::uint32_t r = reference.RandomStep().first;
  const auto expected = static_cast<std::int32_t>((std::uint64_t{r} * 0xFFFFFFFEull) >> 32);
  EXPECT_EQ(random.RandomUpTo(-3), expected);
  EXPECT_LT(expected, 0);
}

TEST(Random, SeedsItselfFromTheSourceOnFirstUseOnly) {
  int calls = 0;
  Random random([&calls] {
    ++calls;
    return 12345u;
  });
  EXPECT_EQ(random.state().seeded, 0u);
  EXPECT_EQ(Draw(random, 255, 6), (std::vector<std::int32_t>{71, 181, 169, 87, 149, 70}));
  EXPECT_EQ(calls, 1);
}

TEST(Random, ExplicitSeedMakesTheSourceUnused) {
  int calls = 0;
  Random random([&calls] {
    ++calls;
    return 7u;
  });
  random.SeedRandom(1);
  EXPECT_EQ(random.RandomUpTo(20), 15);
  EXPECT_EQ(calls, 0);
}

TEST(Random, WithoutSourceTheAutomaticSeedIsZero) {
  Random random;
  EXPECT_EQ(Raw(random), 0x8B910D61u);
}

TEST(Random, ReseedingRestartsTheSequence) {
  Random random;
  random.SeedRandom(1);
  const std::vector<std::int32_t> first = Draw(random, 1000, 10);
  random.SeedRandom(1);
  EXPECT_EQ(Draw(random, 1000, 10), first);
}

}  // namespace
}  // namespace drawing::runtime
