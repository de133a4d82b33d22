#include "draw/fast_blend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

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

// Calls `check(forms, pixel)` for every alpha, every new channel value and
// every old channel value. The three channels take different values (each
// running through all of them) so that lanes cannot leak into one another.
// Returns how many combinations failed.
template <class Check>
uint32_t CountFailuresOverAllInputs(Check check) {
  uint32_t failures = 0;
  for (uint32_t alpha = 0; alpha <= 255; ++alpha) {
    for (uint32_t colour = 0; colour <= 255; ++colour) {
      const OpaqueBlendSet set(Premultiplied(colour, 255 - colour, colour ^ 0x5A, alpha));
      for (uint32_t old = 0; old <= 255; ++old) {
        const uint8_t pixel[4] = {static_cast<uint8_t>(old ^ 0xA5), static_cast<uint8_t>(255 - old),
                                  static_cast<uint8_t>(old), 255};
        failures += check(set, pixel) ? 0 : 1;
      }
    }
  }
  return failures;
}

// The word form on an opaque pixel gives the bytes of the general rule with
// its divisions, alpha byte included.
TEST(FastBlendTest, OpaqueBlendEqualsTheGeneralRuleForAllInputs) {
  const uint32_t failures =
      CountFailuresOverAllInputs([](const OpaqueBlendSet& set, const uint8_t* pixel) {
        uint8_t expected[4];
        std::memcpy(expected, pixel, 4);
        BlendPixel4(expected, set.s, true);
        uint32_t word;
        std::memcpy(&word, pixel, 4);
        const uint32_t fast = set.single(word);
        return std::memcmp(&fast, expected, 4) == 0;
      });
  EXPECT_EQ(failures, 0u);
}

// Two opaque pixels at once: every input in the first pixel, the second
// pixel's bytes running the other way, both as the general rule gives them.
TEST(FastBlendTest, OpaqueBlendPairEqualsTheGeneralRuleForAllInputs) {
  const uint32_t failures =
      CountFailuresOverAllInputs([](const OpaqueBlendSet& set, const uint8_t* pixel) {
        uint8_t expected[8];
        std::memcpy(expected, pixel, 4);
        for (int k = 0; k < 3; ++k) {
          expected[4 + k] = static_cast<uint8_t>(255 - pixel[2 - k]);
        }
        expected[7] = 255;
        uint64_t both;
        std::memcpy(&both, expected, 8);
        BlendPixel4(expected, set.s, true);
        BlendPixel4(expected + 4, set.s, true);
        const uint64_t fast = set.pair(both);
        return std::memcmp(&fast, expected, 8) == 0;
      });
  EXPECT_EQ(failures, 0u);
}

TEST(FastBlendTest, ThreeByteBlendEqualsTheGeneralRuleForAllInputs) {
  const uint32_t failures =
      CountFailuresOverAllInputs([](const OpaqueBlendSet& set, const uint8_t* pixel) {
        uint8_t expected[3];
        uint8_t fast[3];
        std::memcpy(expected, pixel, 3);
        std::memcpy(fast, pixel, 3);
        BlendPixel3(expected, set.s);
        FastBlendPixel3(fast, set.s);
        return std::memcmp(fast, expected, 3) == 0;
      });
  EXPECT_EQ(failures, 0u);
}

TEST(FastBlendTest, StrokeColourOverOpaqueBlack) {
  const OpaqueBlend blend(Premultiplied(255, 0, 0, 150));
  EXPECT_EQ(blend(0xFF000000u), 0xFF960000u);
  EXPECT_EQ(blend(0xFFFFFFFFu), 0xFFFF6969u);  // 105 * 255 / 255 for green and blue
}

}  // namespace
}  // namespace drawing::draw
