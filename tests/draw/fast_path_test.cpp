// The span loops and the division-free blends against the plain per-pixel
// reading of the same drawing, byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "../../bench/reference_raster.h"
#include "raster_target.h"

namespace drawing::draw {
namespace {

struct Case {
  int32_t bytesPerPixel;
  int32_t width;
  int32_t height;
};

class FastPathTest : public ::testing::TestWithParam<Case> {};

// Random pixels, a quarter of them not opaque (alpha 0, 255 or anything).
void FillRandomly(std::vector<uint8_t>& memory, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> kind(0, 7);
  for (size_t k = 0; k < memory.size(); ++k) {
    memory[k] = static_cast<uint8_t>(byte(random));
  }
  for (size_t k = 3; k < memory.size(); k += 4) {
    const int which = kind(random);
    memory[k] = which == 0 ? 0 : which == 1 ? static_cast<uint8_t>(byte(random)) : 255;
  }
}

int32_t RandomMode(std::mt19937& random) {
  // Mostly the blend modes, with every flag combination below the gradient.
  static constexpr int32_t common[] = {DrawModeAlphaBlend, DrawModeAlphaBlendKeep, 0, DrawModeXor,
                                       DrawModeAlphaChannel};
  std::uniform_int_distribution<int> pick(0, 9);
  const int which = pick(random);
  if (which < 5) {
    return common[which];
  }
  return std::uniform_int_distribution<int32_t>(0, 63)(random);
}

TEST_P(FastPathTest, RandomLinesMatchThePerPixelReading) {
  const Case c = GetParam();
  std::mt19937 random(20240611u + static_cast<uint32_t>(c.bytesPerPixel));
  testing::RasterTarget target{c.width, c.height, c.bytesPerPixel};
  FillRandomly(target.memory(), random);
  std::vector<uint8_t> expected = target.memory();

  reference::ReferenceRaster plain;
  plain.pixels = expected.data();
  plain.pitch = target.pitch();
  plain.width = c.width;
  plain.height = c.height;
  plain.bytesPerPixel = c.bytesPerPixel;

  RasterBackend& context = target.context();
  std::uniform_int_distribution<int32_t> coordinate(-40, std::max(c.width, c.height) + 40);
  std::uniform_int_distribution<int32_t> nearby(-12, 12);
  std::uniform_int_distribution<uint32_t> channel(0, 0xFFFFFF);
  std::uniform_int_distribution<int> shape(0, 3);

  int32_t mode = 0;
  for (int line = 0; line < 40000; ++line) {
    if (line % 50 == 0) {
      mode = RandomMode(random);
      context.SetDrawMode(mode);
      plain.SetDrawMode(mode);
    }
    // Walk through every alpha, with fresh colours.
    const Colour colour = channel(random) | static_cast<Colour>(line % 256) << 24;
    if (colour != context.frontColor) {
      context.frontColor = colour;
      context.SetFrontColor(colour);
    }
    plain.SetColour(colour);

    int32_t x1 = coordinate(random), y1 = coordinate(random);
    int32_t x2 = 0, y2 = 0;
    switch (shape(random)) {
      case 0:  // a short stroke line
        x2 = x1 + nearby(random);
        y2 = y1 + nearby(random);
        break;
      case 1:  // horizontal
        x2 = coordinate(random);
        y2 = y1;
        break;
      case 2:  // vertical
        x2 = x1;
        y2 = coordinate(random);
        break;
      default:  // anywhere, often clipped or off the target
        x2 = coordinate(random) * 3 - c.width;
        y2 = coordinate(random) * 3 - c.height;
        break;
    }
    context.DrawLine(x1, y1, x2, y2);
    plain.DrawLine(x1, y1, x2, y2);
    ASSERT_EQ(target.memory(), expected)
        << "line " << line << " (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") mode "
        << mode << " colour " << std::hex << colour;
  }
}

INSTANTIATE_TEST_SUITE_P(PixelSizes, FastPathTest,
                         ::testing::Values(Case{4, 61, 47}, Case{3, 61, 47}, Case{3, 30, 70}),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return std::to_string(param.param.bytesPerPixel) + "Bytes" +
                                  std::to_string(param.param.width) + "x" +
                                  std::to_string(param.param.height);
                         });

}  // namespace
}  // namespace drawing::draw
