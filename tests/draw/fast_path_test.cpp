// The span loops and the division-free blends against the plain per-pixel
// reading of the same drawing, byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "raster_target.h"
#include "support/reference_raster.h"

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

// A target of random pixels and the same bytes drawn on by the plain reading.
struct Drawn {
  Drawn(const Case& c, std::mt19937& random) : target{c.width, c.height, c.bytesPerPixel} {
    FillRandomly(target.memory(), random);
    expected = target.memory();
    plain.pixels = expected.data();
    plain.pitch = target.pitch();
    plain.width = c.width;
    plain.height = c.height;
    plain.bytesPerPixel = c.bytesPerPixel;
  }

  void SetMode(DrawMode mode) {
    target.context().SetDrawMode(mode);
    plain.SetDrawMode(mode);
  }
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    target.context().DrawLine(x1, y1, x2, y2);
    plain.DrawLine(x1, y1, x2, y2);
  }
  bool Same() { return target.memory() == expected; }
  void SetColour(Colour colour) {
    RasterBackend& context = target.context();
    if (colour != context.frontColor) {
      context.frontColor = colour;
      context.SetFrontColor(colour);
    }
    plain.SetColour(colour);
  }

  testing::RasterTarget target;
  std::vector<uint8_t> expected;
  support::ReferenceRaster plain;
};

DrawMode RandomMode(std::mt19937& random) {
  // Mostly the blend modes, with every flag combination below the gradient.
  static constexpr DrawMode common[] = {DrawModeAlphaBlend, DrawModeAlphaBlendKeep, DrawModeNone,
                                        DrawModeXor, DrawModeAlphaChannel};
  std::uniform_int_distribution<int> pick(0, 9);
  const int which = pick(random);
  if (which < 5) {
    return common[which];
  }
  return static_cast<DrawMode>(std::uniform_int_distribution<int32_t>(0, 63)(random));
}

TEST_P(FastPathTest, RandomLinesMatchThePerPixelReading) {
  const Case c = GetParam();
  std::mt19937 random(20240611u + static_cast<uint32_t>(c.bytesPerPixel));
  Drawn drawn(c, random);
  std::uniform_int_distribution<int32_t> coordinate(-40, std::max(c.width, c.height) + 40);
  std::uniform_int_distribution<int32_t> nearby(-12, 12);
  std::uniform_int_distribution<uint32_t> channel(0, 0xFFFFFF);
  std::uniform_int_distribution<int> shape(0, 3);

  DrawMode mode = DrawModeNone;
  for (int line = 0; line < 40000; ++line) {
    if (line % 50 == 0) {
      mode = RandomMode(random);
      drawn.SetMode(mode);
    }
    // Walk through every alpha, with fresh colours.
    const Colour colour = channel(random) | static_cast<Colour>(line % 256) << 24;
    drawn.SetColour(colour);

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
    drawn.DrawLine(x1, y1, x2, y2);
    ASSERT_TRUE(drawn.Same()) << "line " << line << " (" << x1 << "," << y1 << ")-(" << x2 << ","
                              << y2 << ") mode " << DrawModeBits(mode) << " colour " << std::hex
                              << colour;
  }
}

// Strokes as the program paints them: 31 lines sharing their start column,
// one row apart, alternately above and below the centre line, mostly of one
// shape; particles near the edges make some lines clipped. Every alpha and
// the modes around the blend, over pixels of every alpha.
TEST_P(FastPathTest, StrokeBundlesMatchThePerPixelReading) {
  const Case c = GetParam();
  std::mt19937 random(20250107u + static_cast<uint32_t>(c.bytesPerPixel));
  Drawn drawn(c, random);
  std::uniform_int_distribution<int32_t> x(-20, c.width + 20);
  std::uniform_int_distribution<int32_t> y(-20, c.height + 20);
  std::uniform_int_distribution<int32_t> move(-9, 9);
  std::uniform_int_distribution<int32_t> rare(0, 15);
  std::uniform_int_distribution<uint32_t> channel(0, 0xFFFFFF);
  static constexpr DrawMode modes[] = {DrawModeAlphaBlend, DrawModeAlphaBlendKeep, DrawModeNone,
                                       DrawModeXor};

  for (int stroke = 0; stroke < 3000; ++stroke) {
    if (stroke % 100 == 0) {
      drawn.SetMode(modes[(stroke / 100) % 4]);
    }
    const Colour colour = channel(random) | static_cast<Colour>(stroke % 256) << 24;
    drawn.SetColour(colour);
    const int32_t x1 = x(random);
    const int32_t y1 = y(random);
    const int32_t x2 = x1 + move(random);
    const int32_t y2 = y1 + move(random);
    for (int32_t k = 0; k < 31; ++k) {
      const int32_t offset = (k + 1) / 2 * (k % 2 == 0 ? 1 : -1);
      // Now and then one line of a stroke differs by a row at one end, as
      // rounding at a half can make it.
      const int32_t kink = rare(random) == 0 ? 1 : 0;
      drawn.DrawLine(x1, y1 + offset, x2, y2 + offset + kink);
    }
    ASSERT_TRUE(drawn.Same()) << "stroke " << stroke << " (" << x1 << "," << y1 << ")-(" << x2
                              << "," << y2 << ") colour " << std::hex << colour;
  }
}

// Parallel lines painted as one band against the same lines drawn one by one
// by the plain reading: shapes mostly across and mostly down, long ones, every
// direction, bands of one to 31 lines, some reaching past an edge; every
// alpha, every mode without the per-pixel colours, pixels of every alpha.
TEST_P(FastPathTest, ParallelLinesMatchTheLinesOneByOne) {
  const Case c = GetParam();
  std::mt19937 random(20261207u + static_cast<uint32_t>(c.width));
  Drawn drawn(c, random);
  std::uniform_int_distribution<int32_t> x(-4, c.width + 3);
  std::uniform_int_distribution<int32_t> y(-4, c.height + 3);
  std::uniform_int_distribution<int32_t> move(-14, 14);
  std::uniform_int_distribution<int32_t> far(-200, 200);
  std::uniform_int_distribution<int32_t> lines(1, 31);
  std::uniform_int_distribution<int32_t> firstOffset(-20, 5);
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<uint32_t> channel(0, 0xFFFFFF);

  DrawMode mode = DrawModeNone;
  for (int band = 0; band < 6000; ++band) {
    if (band % 40 == 0) {
      mode = RandomMode(random);
      drawn.SetMode(mode);
    }
    const Colour colour = channel(random) | static_cast<Colour>(band % 256) << 24;
    drawn.SetColour(colour);
    const int32_t x1 = x(random);
    const int32_t y1 = y(random);
    const bool longLine = kind(random) == 0;
    const int32_t x2 = x1 + (longLine ? far(random) : move(random));
    const int32_t y2 = y1 + (longLine ? far(random) : move(random));
    const int32_t first = firstOffset(random);
    const int32_t last = first + lines(random) - 1;
    drawn.target.context().DrawParallelLines(x1, y1, x2, y2, first, last);
    for (int32_t k = first; k <= last; ++k) {
      drawn.plain.DrawLine(x1, y1 + k, x2, y2 + k);
    }
    ASSERT_TRUE(drawn.Same()) << "band " << band << " (" << x1 << "," << y1 << ")-(" << x2 << ","
                              << y2 << ") offsets " << first << ".." << last << " mode "
                              << DrawModeBits(mode) << " colour " << std::hex << colour;
  }
}

INSTANTIATE_TEST_SUITE_P(PixelSizes, FastPathTest,
                         ::testing::Values(Case{4, 61, 47}, Case{3, 61, 47}, Case{3, 30, 70},
                                           Case{4, 40, 90}),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return std::to_string(param.param.bytesPerPixel) + "Bytes" +
                                  std::to_string(param.param.width) + "x" +
                                  std::to_string(param.param.height);
                         });

}  // namespace
}  // namespace drawing::draw
