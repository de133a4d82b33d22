// Sprites: creation as a black transparent picture, display as a quad, the
// back-buffer clear, destruction and device resets through the display; GDI
// access and keying through a `Sprites` of its own over the open screen.
#include <gtest/gtest.h>

#include <cstring>

#include "display_world.h"

namespace drawing::display::testing {
namespace {

using platform::LockedRect;
using platform::LockFlag;
using platform::headless::FaultyCall;

// The raw pixel (x, y) of a surface, read through a lock.
uint32_t SurfacePixel(platform::Surface* surface, int32_t x, int32_t y, int32_t bytes) {
  LockedRect locked;
  EXPECT_TRUE(platform::Succeeded(surface->LockRect(&locked, nullptr, LockFlag::ReadOnly)));
  const auto* row = static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch;
  uint32_t raw = 0;
  std::memcpy(&raw, row + x * bytes, static_cast<size_t>(bytes));
  surface->UnlockRect();
  return raw;
}

void WriteSurfacePixel(platform::Surface* surface, int32_t x, int32_t y, uint32_t raw,
                       int32_t bytes = 4) {
  LockedRect locked;
  ASSERT_TRUE(platform::Succeeded(surface->LockRect(&locked, nullptr, LockFlag::None)));
  auto* row = static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch;
  std::memcpy(row + x * bytes, &raw, static_cast<size_t>(bytes));
  surface->UnlockRect();
}

class SpriteTest : public ::testing::Test {
 protected:
  void Open(int depth) { ASSERT_EQ(world.Open(64, 48, depth), 1); }
  uint32_t Texel(const SpriteRecord* sprite, int32_t x, int32_t y) {
    const int32_t bytes = sprite->texture->kind == SpriteKind::Sprite32 ? 4 : 2;
    return SurfacePixel(sprite->texture->level0, x, y, bytes);
  }
  const platform::soft::SoftLiveObjects& Live() { return world.host.Direct3D().Live(); }
  // Whether ShowSprite finds a sprite with that number (it then draws).
  bool Shown(int number) {
    const uint32_t draws = world.Calls(DeviceCallKind::DrawPrimitiveUP);
    world.display.ShowSprite(number, 0, 0);
    return world.Calls(DeviceCallKind::DrawPrimitiveUP) > draws;
  }

  DisplayWorld world;
};

TEST_F(SpriteTest, ANewSpriteIsBlackAndTransparent) {
  Open(32);
  const SpriteRecord* sprite = world.display.NewSprite(0, 20, 10);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->width, 20);
  EXPECT_EQ(sprite->height, 10);
  EXPECT_EQ(sprite->texture->kind, SpriteKind::Sprite32);
  EXPECT_EQ(sprite->texture->colorKey, 0);
  EXPECT_EQ(sprite->texture->gdiContext, nullptr);
  EXPECT_EQ(sprite->coords[3].u, 1.0f);
  EXPECT_EQ(sprite->coords[3].v, 1.0f);
  EXPECT_EQ(sprite->coords[1].v, 0.0f);
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      ASSERT_EQ(Texel(sprite, x, y), 0u) << x << "," << y;
    }
  }
}

TEST_F(SpriteTest, AtDepth16ASpriteHasA16BitTextureAndARenderSurface) {
  Open(16);
  const SpriteRecord* sprite = world.display.NewSprite(0, 8, 8);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->texture->kind, SpriteKind::Sprite16);
  EXPECT_NE(sprite->texture->renderSurface, nullptr);
  EXPECT_EQ(Texel(sprite, 7, 7), 0u);
  EXPECT_EQ(SurfacePixel(sprite->texture->renderSurface, 7, 7, 2) & 0x7FFFu, 0u);
}

TEST_F(SpriteTest, WithoutAScreenNoSpriteIsMade) {
  ASSERT_EQ(world.display.InitDisplay(), 1);
  EXPECT_EQ(world.display.NewSprite(0, 8, 8), nullptr);
  world.display.ShowSprite(0, 0, 0);
  world.display.ClearBackBuffer(0);
  world.display.DestroySprite(0);
  ASSERT_EQ(world.display.OpenFullScreen(64, 48, 32, "drawing"), 1);
  EXPECT_FALSE(Shown(0));
}

TEST_F(SpriteTest, ShownItPaintsItsRectangleBlack) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(1, 20, 10), nullptr);
  world.display.ClearBackBuffer(0xFFFFFF);
  world.display.ShowSprite(1, 5, 6);
  EXPECT_EQ(world.BackBufferPixel(5, 6) & 0xFFFFFFu, 0u);
  EXPECT_EQ(world.BackBufferPixel(24, 15) & 0xFFFFFFu, 0u);
  EXPECT_EQ(world.BackBufferPixel(4, 6) & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(world.BackBufferPixel(25, 15) & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(world.BackBufferPixel(24, 16) & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_TRUE(world.Device().InScene());
}

TEST_F(SpriteTest, PartlyOffScreenTheWholeQuadIsDrawnAndClipped) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(0, 20, 20), nullptr);
  world.display.ClearBackBuffer(0xFFFFFF);
  world.display.ShowSprite(0, -10, -10);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 1u);
  EXPECT_EQ(world.BackBufferPixel(0, 0) & 0xFFFFFFu, 0u);
  EXPECT_EQ(world.BackBufferPixel(9, 9) & 0xFFFFFFu, 0u);
  EXPECT_EQ(world.BackBufferPixel(10, 9) & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(world.BackBufferPixel(9, 10) & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(SpriteTest, OffScreenNothingIsDrawnAndNoStateChanges) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(0, 20, 20), nullptr);
  const uint32_t states = world.Calls(DeviceCallKind::SetRenderState);
  world.display.ShowSprite(0, 64, 0);
  world.display.ShowSprite(0, -20, 0);
  world.display.ShowSprite(0, 0, 48);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetTexture), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetFVF), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetRenderState), states);
  // Nothing was cached either: the first visible display sets every state.
  world.display.ShowSprite(0, 0, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetRenderState) - states, 3u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetFVF), 1u);
}

TEST_F(SpriteTest, TwoDisplaysInAFrameSetTheRenderStatesOnce) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(0, 8, 8), nullptr);
  ASSERT_NE(world.display.NewSprite(1, 8, 8), nullptr);
  const uint32_t states = world.Calls(DeviceCallKind::SetRenderState);
  world.display.ShowSprite(0, 0, 0);
  world.display.ShowSprite(1, 10, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetRenderState) - states, 3u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetFVF), 1u);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetTexture), 2u);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 2u);
  EXPECT_EQ(world.Calls(DeviceCallKind::BeginScene), 1u);
  platform::soft::SoftDevice& device = world.Device();
  EXPECT_EQ(device.RenderStateValue(platform::RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(device.RenderStateValue(platform::RenderState::SrcBlend), 2u);   // ONE
  EXPECT_EQ(device.RenderStateValue(platform::RenderState::DestBlend), 1u);  // ZERO
  EXPECT_EQ(device.Fvf(), 0x104u);
}

TEST_F(SpriteTest, ShowingAnUnknownNumberDoesNothing) {
  Open(32);
  world.display.ShowSprite(7, 0, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::BeginScene), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 0u);
}

TEST_F(SpriteTest, ClearBackBufferTurnsRgbIntoDeviceOrder) {
  Open(32);
  const size_t before = world.recorder.DeviceCallsOf(DeviceCallKind::Clear).size();
  world.display.ClearBackBuffer(0x0000FF);
  const auto clears = world.recorder.DeviceCallsOf(DeviceCallKind::Clear);
  ASSERT_GT(clears.size(), before);
  EXPECT_EQ(clears.back().a, 0x00FF0000u);
  EXPECT_EQ(clears.back().b, 0u);  // no rectangles
  EXPECT_EQ(world.BackBufferPixel(0, 0) & 0xFFFFFFu, 0xFF0000u);
  world.display.ClearBackBuffer(0x123456);
  EXPECT_EQ(world.recorder.DeviceCallsOf(DeviceCallKind::Clear).back().a, 0x00563412u);
  EXPECT_EQ(world.Calls(DeviceCallKind::BeginScene), 0u);
}

TEST_F(SpriteTest, ANewSpriteReplacesTheOneWithItsNumber) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(0, 8, 8), nullptr);
  SpriteRecord* replaced = world.display.NewSprite(0, 16, 4);
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(replaced->width, 16);
  EXPECT_EQ(Live().textures, 1);
  EXPECT_EQ(Live().surfaces, 1);  // the new sprite's system copy from its black fill
}

TEST_F(SpriteTest, ARefusedTextureLeavesNoSpriteWithThatNumber) {
  Open(32);
  ASSERT_NE(world.display.NewSprite(2, 8, 8), nullptr);
  world.host.Faults().Fail(FaultyCall::CreateTexture, 1);
  EXPECT_EQ(world.display.NewSprite(2, 8, 8), nullptr);
  EXPECT_FALSE(Shown(2));
  EXPECT_EQ(Live().textures, 0);
  EXPECT_EQ(Live().surfaces, 0);
}

TEST_F(SpriteTest, ARefusedRenderSurfaceReleasesTheTextureToo) {
  Open(16);
  world.host.Faults().Fail(FaultyCall::CreateRenderTarget, 1);
  EXPECT_EQ(world.display.NewSprite(0, 8, 8), nullptr);
  EXPECT_EQ(Live().textures, 0);
  EXPECT_EQ(Live().surfaces, 0);
}

TEST_F(SpriteTest, WithoutASystemCopyTheSpriteStaysUnfilledButKeyed) {
  world.host.Faults().Fail(FaultyCall::CreateOffscreenPlainSurface, 1);
  Open(32);
  const SpriteRecord* sprite = world.display.NewSprite(0, 4, 4);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->texture->systemCopy, nullptr);
  EXPECT_EQ(sprite->texture->colorKey, 0);
  EXPECT_EQ(Texel(sprite, 0, 0), 0u);
}

TEST_F(SpriteTest, AutoNumberedSpritesAreFoundAndDestroyed) {
  Open(32);
  SpriteRecord* sprite = world.display.NewSprite(runtime::AutoNumber, 4, 4);
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(Live().textures, 1);
  world.display.DestroyAllSprites();
  EXPECT_EQ(Live().textures, 0);
}

TEST_F(SpriteTest, DestroyingReleasesEveryDeviceObject) {
  Open(16);
  ASSERT_NE(world.display.NewSprite(0, 8, 8), nullptr);
  ASSERT_NE(world.display.NewSprite(1, 8, 8), nullptr);
  EXPECT_EQ(Live().textures, 2);
  EXPECT_EQ(Live().surfaces, 4);  // render surface and system copy each
  const size_t blocks = world.heap.LiveBlockCount();
  world.display.DestroySprite(0);
  EXPECT_FALSE(Shown(0));
  EXPECT_TRUE(Shown(1));
  EXPECT_EQ(Live().textures, 1);
  EXPECT_EQ(Live().surfaces, 2);
  EXPECT_EQ(world.heap.LiveBlockCount(), blocks - 1);
  world.display.DestroySprite(0);  // no longer there
  world.display.DestroyAllSprites();
  EXPECT_EQ(Live().textures, 0);
  EXPECT_EQ(Live().surfaces, 0);
}

// A device reset through the headless host's fault script: the device is
// lost and ready for a reset at the next frame.
class SpriteResetTest : public SpriteTest {
 protected:
  void ResetOnNextFrame() {
    world.host.Faults().LoseDevice(world.host.System().Now(), 0);
    EXPECT_EQ(world.display.PresentFrame(), 1);
  }
};

TEST_F(SpriteResetTest, A16BitSpriteGetsItsRenderSurfaceBackWithTheTexturePixels) {
  Open(16);
  SpriteRecord* sprite = world.display.NewSprite(0, 8, 8);
  ASSERT_NE(sprite, nullptr);
  SpriteTexture* block = sprite->texture;
  WriteSurfacePixel(block->level0, 1, 1, 0xFFFFu, 2);

  // The reset is refused while the default-pool render surface is held.
  ResetOnNextFrame();
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 1u);
  EXPECT_TRUE(world.display.ScreenActive());
  ASSERT_NE(block->renderSurface, nullptr);
  EXPECT_EQ(SurfacePixel(block->renderSurface, 1, 1, 2), 0xFFFFu);
  EXPECT_EQ(SurfacePixel(block->renderSurface, 2, 2, 2), 0x0000u);
  EXPECT_EQ(Live().surfaces, 2);  // render surface and system copy, nothing leaked
}

TEST_F(SpriteResetTest, ARenderSurfaceRefusedAfterAResetComesBackAtTheNextReset) {
  Open(16);
  SpriteRecord* sprite = world.display.NewSprite(0, 4, 4);
  ASSERT_NE(sprite, nullptr);
  SpriteTexture* block = sprite->texture;
  world.host.Faults().Fail(FaultyCall::CreateRenderTarget, 1);
  ResetOnNextFrame();
  EXPECT_EQ(block->renderSurface, nullptr);
  EXPECT_EQ(Live().surfaces, 1);
  // Without a render surface there is nothing to give up before the next reset.
  ResetOnNextFrame();
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 2u);
  EXPECT_NE(block->renderSurface, nullptr);
  EXPECT_EQ(Live().surfaces, 2);
}

// GDI access and keying, which the program uses only for the black fill of
// a new sprite: a `Sprites` of the test's own over the display's open screen.
class SpriteGdiTest : public SpriteTest {
 protected:
  void SetUp() override {
    Open(32);
    sprites.CreateRegistry();
    sprite = sprites.New(0, 8, 8);
    ASSERT_NE(sprite, nullptr);
    block = sprite->texture;
  }
  void TearDown() override { sprites.DestroyAll(); }

  Sprites sprites{world.heap, world.host.Gdi(), world.display.State()};
  SpriteRecord* sprite = nullptr;
  SpriteTexture* block = nullptr;
};

TEST_F(SpriteGdiTest, DrawingReachesTheTextureKeyedByTheColourKey) {
  platform::Hdc dc = sprites.BeginGdi(block);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(sprites.BeginGdi(block), dc);
  platform::Gdi& gdi = world.host.Gdi();
  platform::Hbrush red = gdi.CreateSolidBrush(0x0000FF);
  gdi.FillRect(dc, platform::Rect{2, 3, 4, 5}, red);
  gdi.DeleteObject(red);
  // Until the access ends, the texture is as it was.
  EXPECT_EQ(Texel(sprite, 2, 3), 0u);
  EXPECT_EQ(sprites.EndGdi(block), block->texture);
  EXPECT_EQ(block->gdiContext, nullptr);
  EXPECT_EQ(Texel(sprite, 2, 3), 0xFFFF0000u);
  EXPECT_EQ(Texel(sprite, 3, 4), 0xFFFF0000u);
  EXPECT_EQ(Texel(sprite, 4, 4), 0u);
  EXPECT_EQ(sprites.EndGdi(block), nullptr);

  // Keying by red instead turns red transparent and black opaque.
  sprites.ApplyColorKey(block, 0x0000FF);
  EXPECT_EQ(block->colorKey, 0x0000FF);
  EXPECT_EQ(Texel(sprite, 2, 3), 0x00FF0000u);
  EXPECT_EQ(Texel(sprite, 0, 0), 0xFF000000u);
}

TEST_F(SpriteGdiTest, KeyingWithTheAppliedColourLeavesTheTextureAlone) {
  // An opaque black texel would lose its alpha if the rows were rewritten.
  WriteSurfacePixel(block->level0, 1, 1, 0xFF000000u);
  sprites.ApplyColorKey(block, 0);
  EXPECT_EQ(Texel(sprite, 1, 1), 0xFF000000u);
  sprites.ApplyColorKey(block, 0xFFFFFF);
  sprites.ApplyColorKey(block, 0);
  EXPECT_EQ(Texel(sprite, 1, 1), 0x00000000u);
}

TEST_F(SpriteGdiTest, KeyingIsSkippedWhileTheTextureCannotBeLocked) {
  LockedRect held;
  ASSERT_TRUE(platform::Succeeded(block->level0->LockRect(&held, nullptr, LockFlag::None)));
  sprites.ApplyColorKey(block, 0x00FF00);
  EXPECT_EQ(block->colorKey, 0);
  block->level0->UnlockRect();
}

TEST_F(SpriteGdiTest, ReplacingASpriteGivesBackItsOpenContext) {
  ASSERT_NE(sprites.BeginGdi(block), nullptr);
  EXPECT_EQ(Live().surfaces, 1);  // the system copy
  ASSERT_NE(sprites.New(0, 16, 4), nullptr);
  EXPECT_EQ(Live().textures, 1);
  EXPECT_EQ(Live().surfaces, 1);  // the new sprite's system copy from its black fill
}

}  // namespace
}  // namespace drawing::display::testing
