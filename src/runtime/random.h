#pragma once

#include <cstdint>
#include <functional>

namespace drawing::runtime {

// Lagged generator over two tables of seventeen words, combining rotations and
// additions. Given the same seed it always yields the same sequence.
struct RandomState {
  std::int32_t i;  // first lag index, 0..16
  std::int32_t j;  // second lag index, always i + 10 modulo 17
  std::uint32_t A[17];
  std::uint32_t B[17];
  std::uint32_t seeded;  // 0 until the generator has been seeded
};

// Both results of one step; the first is the one RandomUpTo uses.
struct RandomWords {
  std::uint32_t first;
  std::uint32_t second;
};

// Supplies the seed on first use. The application wires it to the thread id
// XOR the tick count, so runs differ; reproducible runs hand in a fixed value.
using RandomSeedSource = std::function<std::uint32_t()>;

class Random {
 public:
  // Without a source the automatic seed is 0.
  explicit Random(RandomSeedSource seedSource = {});

  // (Re)starts the sequence from seed s; afterwards no automatic seeding
  // happens.
  void SeedRandom(std::uint32_t s);

  // One step of the generator (it does not seed).
  RandomWords RandomStep();

  // For n >= 0 an integer from 0 to n inclusive; n = -1 gives all 32 bits of a
  // step, and below -1 the range is taken as the unsigned word n + 1. Seeds
  // itself from the source on first use; every call advances exactly one step.
  std::int32_t RandomUpTo(std::int32_t n);

  const RandomState& state() const { return state_; }

 private:
  RandomState state_{};
  RandomSeedSource seedSource_;
};

}  // namespace drawing::runtime
