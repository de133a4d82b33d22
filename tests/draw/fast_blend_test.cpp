#include "draw/fast_blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "draw/blend_runs.h"
#include "draw/pixel_rule.h"

namespace drawing::draw {
namespace {

TEST(FastBlendTest, DivideBy255IsExactOverTheWholeNumeratorRange) {
  uint32_t wrong = 0;
  for (uint32_t x = 0; x <= 65535; ++x) {
    wrong += DivideBy255(x) != x / 255 ? 1 : 0;
  }
  EXPECT_EQ(wrong, 0u);
}

SourceChannels Premultiplied(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  const auto a = static_cast<int32_t>(alpha);
  return {static_cast<int32_t>(blue) * a, static_cast<int32_t>(green) * a,
          static_cast<int32_t>(red) * a, a, 255 - a};
}

uint32_t Word(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

// How many inputs each fast form got wrong.
struct Failures {
  uint32_t single = 0;
  uint32_t pair = 0;
  uint32_t portablePair = 0;
  uint32_t four = 0;
  uint32_t portableFour = 0;
  uint32_t threeBytes = 0;
};

// Every alpha, every new channel value and every old channel value: each
// division-free form against the general rule with its divisions. The three
// channels take different values (each running through all of them) so that
// lanes cannot leak into one another; the second pixel of a pair holds the
// first one's bytes the other way round.
Failures CheckAllInputs() {
  Failures failures;
  for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
    for (uint32_t colour = 0; colour <= 255; ++colour) {
      const OpaqueBlendSet set(Premultiplied(colour, 255 - colour, colour ^ 0x5A, alpha));
      const PortableOpaqueBlendPair portable(set.s);
      for (uint32_t old = 0; old <= 255; ++old) {
        const uint8_t before[8] = {
            static_cast<uint8_t>(old ^ 0xA5), static_cast<uint8_t>(255 - old),
            static_cast<uint8_t>(old),        255,
            static_cast<uint8_t>(old),        static_cast<uint8_t>(255 - old),
            static_cast<uint8_t>(old ^ 0xA5), 255};
        uint8_t expected[8];
        std::memcpy(expected, before, 8);
        BlendPixel4(expected, set.s, true);
        BlendPixel4(expected + 4, set.s, true);
        uint64_t both;
        std::memcpy(&both, before, 8);
        uint64_t want;
        std::memcpy(&want, expected, 8);

        // One pixel goes through the pair form as both of its halves.
        const uint64_t twice = Word(before) | static_cast<uint64_t>(Word(before)) << 32;
        failures.single += static_cast<uint32_t>(set.pair(twice)) != Word(expected) ? 1 : 0;
        failures.pair += set.pair(both) != want ? 1 : 0;
        failures.portablePair += portable(both) != want ? 1 : 0;

        // Four pixels: the pair, then the pair the other way round.
        uint8_t four[16];
        std::memcpy(four, before, 8);
        std::memcpy(four + 8, before + 4, 4);
        std::memcpy(four + 12, before, 4);
        uint8_t wantFour[16];
        std::memcpy(wantFour, expected, 8);
        std::memcpy(wantFour + 8, expected + 4, 4);
        std::memcpy(wantFour + 12, expected, 4);
        uint8_t portableFour[16];
        std::memcpy(portableFour, four, 16);
        const bool opaque = set.pair.FourIfOpaque(four);
        const bool portableOpaque = portable.FourIfOpaque(portableFour);
        failures.four += !opaque || std::memcmp(four, wantFour, 16) != 0 ? 1 : 0;
        failures.portableFour +=
            !portableOpaque || std::memcmp(portableFour, wantFour, 16) != 0 ? 1 : 0;
        // With one pixel not opaque, all four are left for the general rule.
        uint8_t notOpaque[16];
        std::memcpy(notOpaque, before, 8);
        std::memcpy(notOpaque + 8, before, 8);
        notOpaque[4 * (old % 4) + 3] = static_cast<uint8_t>(old % 255);
        uint8_t untouched[16];
        std::memcpy(untouched, notOpaque, 16);
        failures.four += set.pair.FourIfOpaque(notOpaque) ? 1 : 0;
        failures.portableFour += portable.FourIfOpaque(notOpaque) ? 1 : 0;
        failures.four += std::memcmp(notOpaque, untouched, 16) != 0 ? 1 : 0;

        uint8_t three[3];
        std::memcpy(three, before, 3);
        FastBlendPixel3(three, set.s);
        // On a 3-byte pixel the rule is the opaque blend without the alpha byte.
        uint8_t general[3];
        std::memcpy(general, before, 3);
        BlendPixel3(general, set.s);
        failures.threeBytes +=
            std::memcmp(three, general, 3) != 0 || std::memcmp(three, expected, 3) != 0 ? 1 : 0;
      }
    }
  }
  return failures;
}

TEST(FastBlendTest, EveryFastFormEqualsTheGeneralRuleForAllInputs) {
  const Failures failures = CheckAllInputs();
  EXPECT_EQ(failures.single, 0u);
  EXPECT_EQ(failures.pair, 0u);
  EXPECT_EQ(failures.portablePair, 0u);
  EXPECT_EQ(failures.four, 0u);
  EXPECT_EQ(failures.portableFour, 0u);
  EXPECT_EQ(failures.threeBytes, 0u);
}

// After SettlingRounds blends (the general rule, with its divisions) every
// channel of an opaque pixel stays put under one more, and a pixel blended
// n times through the repeated form is the pixel blended min(n, rounds)
// times: every alpha, colours at the ends and inside, every old value.
TEST(FastBlendTest, OpaquePixelsSettleWithinTheirRounds) {
  uint32_t unsettled = 0;
  uint32_t repeatedWrong = 0;
  uint32_t mostRounds = 0;
  for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
    for (const uint32_t colour : {0u, 1u, 77u, 128u, 254u, 255u}) {
      const OpaqueBlendSet set(Premultiplied(colour, 255 - colour, colour ^ 0x5A, alpha));
      const int32_t rounds = set.settlingRounds;
      mostRounds = std::max(mostRounds, static_cast<uint32_t>(rounds));
      for (uint32_t old = 0; old <= 255; ++old) {
        uint8_t pixel[4] = {static_cast<uint8_t>(old), static_cast<uint8_t>(255 - old),
                            static_cast<uint8_t>(old ^ 0xA5), 255};
        uint32_t start;
        std::memcpy(&start, pixel, 4);
        for (int32_t round = 0; round < rounds; ++round) {
          BlendPixel4(pixel, set.s, true);
        }
        uint8_t again[4];
        std::memcpy(again, pixel, 4);
        BlendPixel4(again, set.s, true);
        unsettled += std::memcmp(again, pixel, 4) != 0 ? 1 : 0;
        uint32_t settled;
        std::memcpy(&settled, pixel, 4);
        uint8_t repeated[4];
        std::memcpy(repeated, &start, 4);
        BlendRuns(set, true).Repeated(repeated, rounds + 3);
        repeatedWrong += std::memcmp(repeated, pixel, 4) != 0 ? 1 : 0;
        repeatedWrong += set.pair.Repeated(start, rounds) != settled ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(unsettled, 0u);
  EXPECT_EQ(repeatedWrong, 0u);
  // Alpha 1 takes a blend for every step of distance, 150 (the strokes') few.
  EXPECT_EQ(mostRounds, 255u);
  EXPECT_LE(OpaqueBlendSet(Premultiplied(0, 0, 0, 150)).settlingRounds, 8);
}

TEST(FastBlendTest, StrokeColourOverOpaqueBlackAndWhite) {
  const OpaqueBlendSet set(Premultiplied(255, 0, 0, 150));
  const BlendRuns runs(set, true);
  uint32_t black = 0xFF000000u;
  uint32_t white = 0xFFFFFFFFu;
  runs.Pixel(reinterpret_cast<uint8_t*>(&black));
  runs.Pixel(reinterpret_cast<uint8_t*>(&white));
  EXPECT_EQ(black, 0xFF960000u);
  EXPECT_EQ(white, 0xFFFF6969u);  // 105 * 255 / 255 for green and blue
  EXPECT_EQ(set.pair(0xFFFFFFFFFF000000u), 0xFFFF6969FF960000u);
}

}  // namespace
}  // namespace drawing::draw
