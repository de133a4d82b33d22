// Colour keying of sprite rows and the format sizes the display relies on.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/display.h"

namespace drawing::display {
namespace {

using platform::Format;

TEST(KeyRow32, BlackKeyClearsAlphaOfBlackAndSetsItElsewhere) {
  const std::vector<uint32_t> source = {0x00000000u, 0x00102030u, 0xFF000000u, 0x80FFFFFFu};
  std::vector<uint32_t> out(source.size(), 0xDEADBEEFu);
  KeyRow32(source.data(), out.data(), 4, 0);
  EXPECT_EQ(out[0], 0x00000000u);
  EXPECT_EQ(out[1], 0xFF102030u);
  EXPECT_EQ(out[2], 0x00000000u);
  EXPECT_EQ(out[3], 0xFFFFFFFFu);
}

TEST(KeyRow32, RgbKeyMatchesTheDeviceOrderOfThePixel) {
  // Red (0x0000FF as RGB) is 0x00FF0000 in the pixel.
  const uint32_t source[3] = {0x00FF0000u, 0xFF0000FFu, 0x12FF0000u};
  uint32_t out[3] = {};
  KeyRow32(source, out, 3, 0x0000FF);
  EXPECT_EQ(out[0], 0x00FF0000u);
  EXPECT_EQ(out[1], 0xFF0000FFu);  // blue stays visible
  EXPECT_EQ(out[2], 0x00FF0000u);
}

TEST(KeyRow32, NoKeyYetMakesOnlyWhiteTransparent) {
  const uint32_t source[2] = {0x00FFFFFFu, 0x00000000u};
  uint32_t out[2] = {};
  KeyRow32(source, out, 2, -1);
  EXPECT_EQ(out[0], 0x00FFFFFFu);
  EXPECT_EQ(out[1], 0xFF000000u);
}

TEST(KeyRow32, RewritesInPlaceAndStopsAtCount) {
  uint32_t row[3] = {0x00000000u, 0x00010101u, 0x00000000u};
  KeyRow32(row, row, 2, 0);
  EXPECT_EQ(row[0], 0x00000000u);
  EXPECT_EQ(row[1], 0xFF010101u);
  EXPECT_EQ(row[2], 0x00000000u);  // beyond the count: untouched
}

TEST(KeyRow16, BlackKeyVectors) {
  const uint16_t source[3] = {0x8000, 0x0421, 0x0000};
  uint16_t out[3] = {};
  KeyRow16(source, out, 3, 0);
  EXPECT_EQ(out[0], 0x0000);
  EXPECT_EQ(out[1], 0x8421);
  EXPECT_EQ(out[2], 0x0000);
}

TEST(KeyRow16, RgbKeyInX1R5G5B5Form) {
  // Red 0xF8 -> 0x7C00, green 0xF8 -> 0x03E0, blue 0xF8 -> 0x001F.
  const uint16_t source[4] = {0x7C00, 0x83E0, 0x001F, 0x7C01};
  uint16_t out[4] = {};
  KeyRow16(source, out, 4, 0x0000F8);
  EXPECT_EQ(out[0], 0x7C00);
  EXPECT_EQ(out[1], 0x83E0);
  EXPECT_EQ(out[2], 0x801F);
  EXPECT_EQ(out[3], 0xFC01);
  KeyRow16(source, out, 4, 0x00F800);
  EXPECT_EQ(out[1], 0x03E0);
  KeyRow16(source, out, 4, 0xF80000);
  EXPECT_EQ(out[2], 0x001F);
}

TEST(KeyRow16, NoKeyYetMatchesNoPixel) {
  const uint16_t source[2] = {0x7FFF, 0xFFFF};
  uint16_t out[2] = {};
  KeyRow16(source, out, 2, -1);
  EXPECT_EQ(out[0], 0xFFFF);
  EXPECT_EQ(out[1], 0xFFFF);
}

TEST(FormatBitsPerPixel, ScreenFormatsOnly) {
  EXPECT_EQ(FormatBitsPerPixel(Format::X8R8G8B8), 32);
  EXPECT_EQ(FormatBitsPerPixel(Format::R5G6B5), 16);
  EXPECT_EQ(FormatBitsPerPixel(Format::X1R5G5B5), 16);
  EXPECT_EQ(FormatBitsPerPixel(Format::A8R8G8B8), 0);
  EXPECT_EQ(FormatBitsPerPixel(Format::R8G8B8), 0);
  EXPECT_EQ(FormatBitsPerPixel(Format::Unknown), 0);
}

}  // namespace
}  // namespace drawing::display
