// The sprite quad: a point-sampled copy of the texture onto the back buffer
// with texel (0, 0) on pixel (left, top), clipped at the edges.
#include <gtest/gtest.h>

#include "device_fixture.h"
#include "platform/soft/direct3d/soft_device_pixels.h"

namespace drawing::platform::testing {
namespace {

constexpr uint32_t kBackground = 0x00CCCCCCu;

class SpriteQuadTest : public DeviceTest {
 protected:
  void OpenCleared(Format format, uint32_t width, uint32_t height) {
    Open(format, width, height);
    device->Clear(0, nullptr, ClearFlag::Target, kBackground, 0.0f, 0);
  }
  uint32_t Pixel(uint32_t x, uint32_t y) { return Soft().BackBuffer().ReadPixel(x, y); }
};

TEST_F(SpriteQuadTest, CopiesTheTextureToLeftTopExactly) {
  OpenCleared(Format::X8R8G8B8, 32, 24);
  Texture* texture = PatternTexture(5, 4);
  ASSERT_EQ(DrawSprite(texture, 3, 2, 5, 4), D3dResult::Ok);
  for (uint32_t y = 0; y < 4; ++y) {
    for (uint32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(Pixel(3 + x, 2 + y), Pattern(x, y)) << x << "," << y;
    }
  }
  // Nothing around the rectangle is touched.
  EXPECT_EQ(Pixel(2, 2), kBackground);
  EXPECT_EQ(Pixel(8, 2), kBackground);
  EXPECT_EQ(Pixel(3, 1), kBackground);
  EXPECT_EQ(Pixel(3, 6), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, ClipsAQuadHangingOverTheTopLeftCorner) {
  // A 20 x 20 sprite at (-10, -10): the quad runs from -10.5 to 9.5.
  OpenCleared(Format::X8R8G8B8, 16, 16);
  Texture* texture = PatternTexture(20, 20);
  ASSERT_EQ(DrawSprite(texture, -10, -10, 20, 20), D3dResult::Ok);
  EXPECT_EQ(Pixel(0, 0), Pattern(10, 10));
  EXPECT_EQ(Pixel(9, 9), Pattern(19, 19));
  EXPECT_EQ(Pixel(9, 0), Pattern(19, 10));
  EXPECT_EQ(Pixel(10, 0), kBackground);
  EXPECT_EQ(Pixel(0, 10), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, ClipsAtTheRightAndBottomEdges) {
  OpenCleared(Format::X8R8G8B8, 10, 8);
  Texture* texture = PatternTexture(6, 6);
  ASSERT_EQ(DrawSprite(texture, 7, 5, 6, 6), D3dResult::Ok);
  EXPECT_EQ(Pixel(7, 5), Pattern(0, 0));
  EXPECT_EQ(Pixel(9, 7), Pattern(2, 2));
  EXPECT_EQ(Pixel(6, 5), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, AQuadEntirelyOffScreenDrawsNothing) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  Texture* texture = PatternTexture(4, 4);
  EXPECT_EQ(DrawSprite(texture, 8, 0, 4, 4), D3dResult::Ok);
  EXPECT_EQ(DrawSprite(texture, -4, 0, 4, 4), D3dResult::Ok);
  for (uint32_t y = 0; y < 8; ++y) {
    for (uint32_t x = 0; x < 8; ++x) {
      EXPECT_EQ(Pixel(x, y), kBackground);
    }
  }
  texture->Release();
}

TEST_F(SpriteQuadTest, TransparentBlackStillPaintsBlackWithOneZero) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  Texture* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::Ok);  // all texels 0x00000000: black, alpha 0
  ASSERT_EQ(DrawSprite(texture, 0, 0, 4, 4), D3dResult::Ok);
  EXPECT_EQ(Pixel(0, 0) & 0x00FFFFFFu, 0u);
  EXPECT_EQ(Pixel(3, 3) & 0x00FFFFFFu, 0u);
  EXPECT_EQ(Pixel(4, 4), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, SixteenBitTexelsAreConvertedToTheBackBuffer) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  // Opaque red, transparent blue.
  Texture* texture = TextureWith(Format::A1R5G5B5, 2, 1, {0xFC00u, 0x001Fu});
  ASSERT_EQ(DrawSprite(texture, 1, 1, 2, 1), D3dResult::Ok);
  EXPECT_EQ(Pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(2, 1), 0x000000FFu);
  texture->Release();
}

TEST_F(SpriteQuadTest, ThirtyTwoBitTexelsAreConvertedToA16BitBackBuffer) {
  Open(Format::R5G6B5, 4, 4);
  Texture* texture = TextureWith(Format::A8R8G8B8, 1, 1, {0xFF00FF00u});
  ASSERT_EQ(DrawSprite(texture, 0, 0, 1, 1), D3dResult::Ok);
  EXPECT_EQ(Pixel(0, 0), 0x07E0u);
  texture->Release();
}

TEST_F(SpriteQuadTest, DrawingNeedsAScene) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  Texture* texture = PatternTexture(2, 2);
  device->SetFVF(FvfBits(Fvf::XyzRhw, Fvf::Tex1));
  device->SetTexture(0, texture);
  const auto quad = SpriteQuad(0, 0, 2, 2);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad.data(), 24),
            D3dResult::InvalidCall);
  EXPECT_EQ(Pixel(0, 0), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, RefusesVerticesItCannotDraw) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  Texture* texture = PatternTexture(2, 2);
  device->SetFVF(FvfBits(Fvf::XyzRhw, Fvf::Tex1));
  device->SetTexture(0, texture);
  auto quad = SpriteQuad(0, 0, 2, 2);
  quad[6] += 1.0f;  // the second vertex leaves the rectangle
  ASSERT_EQ(device->BeginScene(), D3dResult::Ok);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad.data(), 24),
            D3dResult::InvalidCall);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad.data(), 20),
            D3dResult::InvalidCall);
  device->SetFVF(0);
  const auto good = SpriteQuad(0, 0, 2, 2);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, good.data(), 24),
            D3dResult::InvalidCall);
  device->EndScene();
  EXPECT_EQ(Pixel(0, 0), kBackground);
  texture->Release();
}

TEST_F(SpriteQuadTest, AReleasedTextureIsNoLongerBound) {
  OpenCleared(Format::X8R8G8B8, 8, 8);
  Texture* texture = PatternTexture(2, 2);
  device->SetTexture(0, texture);
  texture->Release();
  EXPECT_EQ(Soft().BoundTexture(0), nullptr);
  const auto quad = SpriteQuad(0, 0, 2, 2);
  device->SetFVF(FvfBits(Fvf::XyzRhw, Fvf::Tex1));
  ASSERT_EQ(device->BeginScene(), D3dResult::Ok);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad.data(), 24),
            D3dResult::Ok);
  device->EndScene();
  EXPECT_EQ(Pixel(0, 0), kBackground);
}

TEST(DevicePixels, FormatsRoundTripTheirColours) {
  using soft::ArgbFromRaw;
  using soft::RawFromArgb;
  EXPECT_EQ(ArgbFromRaw(Format::R5G6B5, 0xFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(ArgbFromRaw(Format::X1R5G5B5, 0x7FFFu), 0x00FFFFFFu);
  EXPECT_EQ(RawFromArgb(Format::A1R5G5B5, 0x80FF0000u), 0xFC00u);
  EXPECT_EQ(RawFromArgb(Format::A1R5G5B5, 0x7FFF0000u), 0x7C00u);
  for (uint32_t raw : {0x0000u, 0x1234u, 0x8421u, 0xFFFFu}) {
    EXPECT_EQ(RawFromArgb(Format::A1R5G5B5, ArgbFromRaw(Format::A1R5G5B5, raw)), raw);
    EXPECT_EQ(RawFromArgb(Format::R5G6B5, ArgbFromRaw(Format::R5G6B5, raw)), raw);
  }
  EXPECT_EQ(soft::ConvertRaw(Format::A8R8G8B8, Format::X8R8G8B8, 0x80123456u), 0x80123456u);
}

}  // namespace
}  // namespace drawing::platform::testing
