#include <gtest/gtest.h>

#include "raster_target.h"

namespace drawing::draw {
namespace {

constexpr Colour Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  return r | g << 8 | b << 16 | a << 24;
}
// Pixel bytes as the target stores them: 0xAARRGGBB.
constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

// Paints one pixel at (1, 1) of `target` with `colour` in `mode`, the way the
// wrappers do: the mode first, then the colour.
uint32_t Paint(testing::RasterTarget& target, DrawMode mode, Colour colour, uint32_t before) {
  target.SetPixel(1, 1, before);
  RasterBackend& context = target.context();
  context.SetDrawMode(mode);
  context.frontColor = colour;
  context.SetFrontColor(colour);
  context.DrawLine(1, 1, 1, 1);
  return target.Pixel(1, 1);
}

class BlendTest : public ::testing::Test {
 protected:
  testing::RasterTarget four{4, 4, 4};
  testing::RasterTarget three{4, 4, 3};
};

TEST_F(BlendTest, OpaqueDestinationMixesByTheColourAlpha) {
  EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(255, 0, 0, 150), Argb(255, 0, 0, 0)),
            Argb(255, 150, 0, 0));
  EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(200, 0, 0, 150), Argb(255, 100, 0, 0)),
            Argb(255, 158, 0, 0));
  EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(0, 0, 0, 150), Argb(255, 0, 0, 255)),
            Argb(255, 0, 0, 105));
}

TEST_F(BlendTest, TransparentDestinationTakesThePlainColour) {
  EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(200, 17, 3, 150), Argb(0, 9, 9, 9)),
            Argb(150, 200, 17, 3));
}

TEST_F(BlendTest, HalfTransparentDestinationIsCompositedOver) {
  EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(200, 0, 0, 150), Argb(128, 100, 0, 0)),
            Argb(202, 173, 0, 0));
}

TEST_F(BlendTest, KeepModeLeavesTheTargetAlpha) {
  EXPECT_EQ(Paint(four, DrawModeAlphaBlendKeep, Rgba(200, 0, 0, 150), Argb(128, 100, 0, 0)),
            Argb(128, 173, 0, 0));
  EXPECT_EQ(Paint(four, DrawModeAlphaBlendKeep, Rgba(200, 0, 0, 150), Argb(0, 100, 0, 0)),
            Argb(0, 200, 0, 0));
}

TEST_F(BlendTest, ThreeBytePixelsBlendLikeOpaqueOnes) {
  EXPECT_EQ(Paint(three, DrawModeAlphaBlend, Rgba(255, 0, 0, 150), Argb(0, 0, 0, 0)),
            Argb(0, 150, 0, 0));
  EXPECT_EQ(Paint(three, DrawModeAlphaBlend, Rgba(200, 0, 0, 150), Argb(0, 100, 0, 0)),
            Argb(0, 158, 0, 0));
}

TEST_F(BlendTest, ColourAlphaZeroLeavesThePixelAlone) {
  for (uint32_t before : {Argb(255, 1, 2, 3), Argb(128, 40, 50, 60), Argb(0, 7, 8, 9)}) {
    EXPECT_EQ(Paint(four, DrawModeAlphaBlend, Rgba(200, 100, 50, 0), before), before);
    EXPECT_EQ(Paint(four, DrawModeAlphaBlendKeep, Rgba(200, 100, 50, 0), before), before);
  }
  EXPECT_EQ(Paint(three, DrawModeAlphaBlend, Rgba(200, 100, 50, 0), Argb(0, 1, 2, 3)),
            Argb(0, 1, 2, 3));
}

TEST(ModeTest, PlainModeWritesTheColourButNeverTheAlpha) {
  testing::RasterTarget target{4, 4, 4};
  EXPECT_EQ(Paint(target, DrawModeNone, Rgba(10, 20, 30, 40), Argb(77, 1, 2, 3)),
            Argb(77, 10, 20, 30));
  testing::RasterTarget three{4, 4, 3};
  EXPECT_EQ(Paint(three, DrawModeNone, Rgba(10, 20, 30, 40), Argb(0, 1, 2, 3)),
            Argb(0, 10, 20, 30));
}

TEST(ModeTest, AlphaChannelModeWritesOnlyTheAlphaByte) {
  testing::RasterTarget target{4, 4, 4};
  EXPECT_EQ(Paint(target, DrawModeAlphaChannel, Rgba(10, 20, 30, 40), Argb(77, 1, 2, 3)),
            Argb(40, 1, 2, 3));
  testing::RasterTarget three{4, 4, 3};
  EXPECT_EQ(Paint(three, DrawModeAlphaChannel, Rgba(10, 20, 30, 40), Argb(0, 1, 2, 3)),
            Argb(0, 1, 2, 3));
}

TEST(ModeTest, XorFlipsTheColourBytesAndKeepsTheAlpha) {
  testing::RasterTarget target{4, 4, 4};
  EXPECT_EQ(Paint(target, DrawModeXor, Rgba(0xF0, 0x0F, 0xFF, 0x96), Argb(0x80, 0xFF, 0xFF, 0x0F)),
            Argb(0x80, 0x0F, 0xF0, 0xF0));
  // XOR wins over the blend flags, and the colour is not premultiplied then.
  EXPECT_EQ(Paint(target, DrawModeXor | DrawModeAlphaBlend, Rgba(0xF0, 0, 0, 0x96),
                  Argb(0x80, 0xFF, 0, 0)),
            Argb(0x80, 0x0F, 0, 0));
  EXPECT_EQ(target.context().Blends(), false);
}

TEST(ModeTest, AlphaChannelWinsOverBlend) {
  testing::RasterTarget target{4, 4, 4};
  EXPECT_EQ(Paint(target, DrawModeAlphaChannel | DrawModeAlphaBlend, Rgba(200, 0, 0, 150),
                  Argb(255, 100, 0, 0)),
            Argb(150, 100, 0, 0));
}

TEST(ModeTest, SetDrawModePreparesTheChannelsAgain) {
  testing::RasterTarget target{4, 4, 4};
  RasterBackend& context = target.context();
  context.frontColor = Rgba(200, 100, 10, 150);
  context.SetFrontColor(context.frontColor);
  EXPECT_EQ(context.Front().red, 200);
  EXPECT_EQ(context.Front().alpha, 150);
  EXPECT_EQ(context.Front().inverse, 105);
  context.SetDrawMode(DrawModeAlphaBlend);
  EXPECT_EQ(context.Blends(), true);
  EXPECT_EQ(context.Front().red, 200 * 150);
  EXPECT_EQ(context.Front().green, 100 * 150);
  EXPECT_EQ(context.Front().blue, 10 * 150);
  context.SetDrawMode(DrawModeNone);
  EXPECT_EQ(context.Blends(), false);
  EXPECT_EQ(context.Front().red, 200);
  EXPECT_EQ(context.Front().blue, 10);
}

TEST(ModeTest, BackColourIsPreparedToo) {
  testing::RasterTarget target{4, 4, 4};
  RasterBackend& context = target.context();
  context.backColor = Rgba(2, 3, 4, 10);
  context.SetDrawMode(DrawModeAlphaBlendKeep);
  EXPECT_EQ(context.Back().red, 20);
  EXPECT_EQ(context.Back().blue, 40);
  EXPECT_EQ(context.Back().inverse, 245);
}

TEST(ModeTest, NewRasterContextStartsInPlainModeWithColourZero) {
  testing::RasterTarget target{4, 4, 4};
  const RasterBackend& context = target.context();
  EXPECT_EQ(context.PixelWriter(), RasterBackend::Writer::Plain);
  EXPECT_FALSE(context.Blends());
  EXPECT_EQ(context.frontColor, 0u);
  EXPECT_EQ(context.backColor, 0u);
  EXPECT_EQ(context.gradientColor1, 0xFFFFFFFFu);
  EXPECT_EQ(context.gradientColor2, 0xFF000000u);
  EXPECT_EQ(context.depth, 32);
  EXPECT_EQ(context.Front().inverse, 255);
  EXPECT_EQ(target.context().BufferFormat(), 64 + 0x8000);
  testing::RasterTarget three{4, 4, 3};
  EXPECT_EQ(three.context().depth, 24);
  EXPECT_EQ(three.context().BufferFormat(), 16 + 0x8000);
  EXPECT_EQ(three.context().BufferPitch(), 12);
}

TEST(ReadPixelTest, AlphaIsReportedOnlyInModesThatUseIt) {
  testing::RasterTarget target{4, 4, 4};
  RasterBackend& context = target.context();
  target.SetPixel(2, 3, Argb(0x80, 0x11, 0x22, 0x33));
  EXPECT_EQ(context.ReadPixel(2, 3), Rgba(0x11, 0x22, 0x33, 0));
  for (DrawMode mode :
       {DrawModeAlphaChannel, DrawModeAlphaBlend, DrawModeAlphaBlendKeep, DrawModeCustom}) {
    context.SetDrawMode(mode);
    EXPECT_EQ(context.ReadPixel(2, 3), Rgba(0x11, 0x22, 0x33, 0x80)) << DrawModeBits(mode);
  }
  context.SetDrawMode(DrawModeXor);
  EXPECT_EQ(context.ReadPixel(2, 3), Rgba(0x11, 0x22, 0x33, 0));
}

TEST(ReadPixelTest, ThreeBytePixelsHaveNoAlpha) {
  testing::RasterTarget target{4, 4, 3};
  RasterBackend& context = target.context();
  target.SetPixel(3, 0, Argb(0, 0x11, 0x22, 0x33));
  context.SetDrawMode(DrawModeAlphaBlend);
  EXPECT_EQ(context.ReadPixel(3, 0), Rgba(0x11, 0x22, 0x33, 0));
}

TEST(PutPixelTest, PutPixelColorUsesTheColourOwnAlpha) {
  testing::RasterTarget target{4, 4, 4, Argb(255, 100, 0, 0)};
  RasterBackend& context = target.context();
  context.SetDrawMode(DrawModeAlphaBlend);
  context.PutPixelColor(0, 0, Rgba(200, 0, 0, 150));
  EXPECT_EQ(target.Pixel(0, 0), Argb(255, 158, 0, 0));
  // The prepared front colour is not touched.
  EXPECT_EQ(context.Front().alpha, 0);
  context.SetDrawMode(DrawModeAlphaChannel);
  context.PutPixelColor(1, 0, Rgba(1, 2, 3, 44));
  EXPECT_EQ(target.Pixel(1, 0), Argb(44, 100, 0, 0));
  context.SetDrawMode(DrawModeNone);
  context.PutPixelColor(2, 0, Rgba(1, 2, 3, 44));
  EXPECT_EQ(target.Pixel(2, 0), Argb(255, 1, 2, 3));
}

TEST(PutPixelTest, PutPixelUsesThePreparedColour) {
  testing::RasterTarget target{4, 4, 4, Argb(255, 0, 0, 0)};
  RasterBackend& context = target.context();
  context.SetDrawMode(DrawModeAlphaBlend);
  context.SetFrontColor(Rgba(255, 0, 0, 150));
  context.PutPixel(3, 3);
  EXPECT_EQ(target.Pixel(3, 3), Argb(255, 150, 0, 0));
}

TEST(PointPainterTest, CustomFunctionDecidesThePixel) {
  testing::RasterTarget target{4, 4, 4, Argb(255, 1, 2, 3)};
  RasterBackend& context = target.context();
  context.SetDrawMode(DrawModeCustom);
  EXPECT_EQ(context.PixelWriter(), RasterBackend::Writer::PointPainter);
  // The default function keeps the destination.
  context.DrawLine(0, 0, 3, 0);
  EXPECT_TRUE(target.Changed(Argb(255, 1, 2, 3)).empty());
  context.SetCustomFunction([](int32_t x, int32_t y, Colour source, Colour destination) {
    return (destination & 0xFF000000u) + source + static_cast<Colour>(x + 10 * y);
  });
  context.PutPixelColor(2, 1, Rgba(0x40, 0, 0, 0));
  EXPECT_EQ(context.frontColor, Rgba(0x40, 0, 0, 0));
  EXPECT_EQ(target.Pixel(2, 1), Argb(255, 0x40 + 12, 0, 0));
}

TEST(PointPainterTest, DefaultGradientPaintsTheFirstGradientColour) {
  testing::RasterTarget target{4, 4, 4, Argb(255, 0, 0, 0)};
  RasterBackend& context = target.context();
  context.SetDrawMode(DrawModeGradient);
  context.DrawLine(0, 2, 3, 2);
  for (int32_t x = 0; x < 4; ++x) {
    EXPECT_EQ(target.Pixel(x, 2), Argb(255, 255, 255, 255));
  }
  context.SetWeightFunction(
      [](const RasterBackend&, int32_t x, int32_t) { return static_cast<float>(x) / 3.0f; });
  context.SetDrawMode(DrawModeGradient | DrawModeAlphaBlend);
  context.gradientColor1 = Rgba(255, 0, 0, 255);
  context.gradientColor2 = Rgba(0, 0, 255, 255);
  context.DrawLine(0, 0, 3, 0);
  EXPECT_EQ(target.Pixel(0, 0), Argb(255, 0, 0, 255));
  EXPECT_EQ(target.Pixel(3, 0), Argb(255, 255, 0, 0));
  EXPECT_EQ(target.Pixel(1, 0), Argb(255, 85, 0, 170));
}

}  // namespace
}  // namespace drawing::draw
