// Copies that go past the cache: the same bytes as memcpy, whatever the
// alignment and length, and the large blits that use them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/soft/gdi/soft_blit.h"
#include "platform/soft/kit/uncached_copy.h"

namespace drawing::platform::soft {
namespace {

TEST(UncachedCopyTest, CopiesEveryByteAtAnyAlignmentAndLength) {
  std::mt19937 random(77u);
  std::vector<uint8_t> from(1024);
  for (uint8_t& byte : from) {
    byte = static_cast<uint8_t>(random());
  }
  for (size_t at = 0; at < 16; ++at) {
    for (size_t bytes : {size_t{0}, size_t{1}, size_t{15}, size_t{63}, size_t{64}, size_t{79},
                         size_t{80}, size_t{200}, size_t{511}, size_t{1000}}) {
      std::vector<uint8_t> to(1040, 0xCD);
      UncachedCopy(to.data() + at, from.data() + 3, bytes);
      UncachedCopyDone();
      ASSERT_EQ(std::memcmp(to.data() + at, from.data() + 3, bytes), 0) << at << " " << bytes;
      // Nothing around the copy is touched.
      for (size_t k = 0; k < at; ++k) {
        ASSERT_EQ(to[k], 0xCD);
      }
      for (size_t k = at + bytes; k < to.size(); ++k) {
        ASSERT_EQ(to[k], 0xCD);
      }
    }
  }
}

TEST(UncachedCopyTest, AScreenSizedBlitCopiesItsAreaAndNothingElse) {
  constexpr int32_t kWidth = 700;
  constexpr int32_t kHeight = 420;  // over 1 MiB of 32-bit pixels
  std::vector<uint8_t> source(static_cast<size_t>(kWidth) * kHeight * 4);
  for (size_t k = 0; k < source.size(); ++k) {
    source[k] = static_cast<uint8_t>(k * 7 + k / 4093);
  }
  // Rows padded and odd-aligned, as surface memory may be.
  const int32_t pitch = kWidth * 4 + 20;
  std::vector<uint8_t> target(static_cast<size_t>(pitch) * kHeight + 8, 0x11);
  const PixelView from{
      Rows::TopDown(source.data(), kWidth * 4, kWidth, kHeight, PixelLayout::Bgrx32)};
  const PixelView to{Rows::TopDown(target.data() + 4, pitch, kWidth, kHeight, PixelLayout::Bgrx32)};
  BlitViews(to, 1, 0, kWidth, kHeight, from, 0, 0, BlitOp::Copy);
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint8_t* row = to.Row(y);
    ASSERT_EQ(std::memcmp(row + 4, from.Row(y), static_cast<size_t>(kWidth - 1) * 4), 0) << y;
    ASSERT_EQ(row[0], 0x11) << y;           // column 0 is left alone
    ASSERT_EQ(row[kWidth * 4], 0x11) << y;  // so is the padding
  }
}

}  // namespace
}  // namespace drawing::platform::soft
