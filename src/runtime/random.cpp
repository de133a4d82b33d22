#include "runtime/random.h"

#include <utility>

namespace drawing::runtime {
namespace {

constexpr std::uint32_t kSeedMultiplier = 0x53A9B4FB;
constexpr std::int32_t kTableSize = 17;
constexpr int kWarmUpSteps = 31;

constexpr std::uint32_t RotateRight(std::uint32_t value, unsigned bits) {
  return (value >> bits) | (value << (32u - bits));
}

constexpr std::int32_t StepBack(std::int32_t index) {
  return index == 0 ? kTableSize - 1 : index - 1;
}

}  // namespace

Random::Random(RandomSeedSource seedSource) : seedSource_(std::move(seedSource)) {}

void Random::SeedRandom(std::uint32_t s) {
  state_.seeded = 1;
  std::uint32_t x = s;
  // One running value fills B[k], then A[k].
  for (std::int32_t k = 0; k < kTableSize; ++k) {
    x = 1u - x * kSeedMultiplier;
    state_.B[k] = x;
    x = 1u - x * kSeedMultiplier;
    state_.A[k] = x;
  }
  state_.i = 0;
  state_.j = 10;
  for (int k = 0; k < kWarmUpSteps; ++k) {
    RandomStep();
  }
}

RandomWords Random::RandomStep() {
  const std::int32_t i = state_.i;
  const std::int32_t j = state_.j;
  const std::uint32_t a = state_.A[i];
  const std::uint32_t b = state_.B[i];
  // i and j differ by 10, so the writes to index i leave the reads of j alone.
  const std::uint32_t newA = RotateRight(b, 13) + state_.B[j];
  const std::uint32_t newB = RotateRight(a, 5) + state_.A[j];
  state_.A[i] = newA;
  state_.B[i] = newB;
  state_.i = StepBack(i);
  state_.j = StepBack(j);
  return {newA, newB};
}

std::int32_t Random::RandomUpTo(std::int32_t n) {
  if (state_.seeded == 0) {
    SeedRandom(seedSource_ ? seedSource_() : 0u);
  }
  const std::uint32_t m = static_cast<std::uint32_t>(n) + 1u;
  const std::uint32_t r = RandomStep().first;
  if (m == 0) {
    return static_cast<std::int32_t>(r);
  }
  return static_cast<std::int32_t>((std::uint64_t{r} * m) >> 32);
}

}  // namespace drawing::runtime
