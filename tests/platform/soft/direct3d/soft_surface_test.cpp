// Surfaces of the software device: locking with a pitch, GDI contexts that
// draw into the surface, the exclusion between the two, and the kinds of
// surface the display creates.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace drawing::platform::testing {
namespace {

class SoftSurfaceTest : public DeviceTest {
 protected:
  Surface* SystemCopy(uint32_t width, uint32_t height, Format format = Format::X8R8G8B8) {
    Surface* surface = nullptr;
    EXPECT_EQ(device->CreateOffscreenPlainSurface(width, height, format, Pool::SystemMem, &surface),
              D3dResult::Ok);
    return surface;
  }
};

TEST_F(SoftSurfaceTest, LockGivesTheFirstPixelAndAPitch) {
  Open();
  Surface* surface = SystemCopy(6, 3);
  LockedRect whole;
  ASSERT_EQ(surface->LockRect(&whole, nullptr, LockFlag::None), D3dResult::Ok);
  EXPECT_GE(whole.Pitch, 6 * 4);
  auto* base = static_cast<uint8_t*>(whole.pBits);
  reinterpret_cast<uint32_t*>(base + 2 * whole.Pitch)[5] = 0x00ABCDEFu;
  surface->UnlockRect();

  const Rect corner{5, 2, 6, 3};
  LockedRect part;
  ASSERT_EQ(surface->LockRect(&part, &corner, LockFlag::ReadOnly), D3dResult::Ok);
  EXPECT_EQ(*static_cast<uint32_t*>(part.pBits), 0x00ABCDEFu);
  EXPECT_EQ(part.Pitch, whole.Pitch);
  surface->UnlockRect();
  surface->Release();
}

TEST_F(SoftSurfaceTest, LockingTwiceOrUnlockingUnlockedFails) {
  Open();
  Surface* surface = SystemCopy(4, 4);
  LockedRect locked;
  EXPECT_EQ(surface->UnlockRect(), D3dResult::InvalidCall);
  EXPECT_EQ(surface->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  EXPECT_EQ(surface->LockRect(&locked, nullptr, LockFlag::None), D3dResult::InvalidCall);
  EXPECT_EQ(surface->UnlockRect(), D3dResult::Ok);
  const Rect outside{2, 2, 5, 3};
  EXPECT_EQ(surface->LockRect(&locked, &outside, LockFlag::None), D3dResult::InvalidCall);
  surface->Release();
}

TEST_F(SoftSurfaceTest, ALockedSurfaceRefusesADcAndADcRefusesALock) {
  Open();
  Surface* surface = SystemCopy(4, 4);
  LockedRect locked;
  Hdc dc = nullptr;
  ASSERT_EQ(surface->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  EXPECT_EQ(surface->GetDC(&dc), D3dResult::InvalidCall);
  surface->UnlockRect();

  ASSERT_EQ(surface->GetDC(&dc), D3dResult::Ok);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(surface->LockRect(&locked, nullptr, LockFlag::None), D3dResult::InvalidCall);
  Hdc second = nullptr;
  EXPECT_EQ(surface->GetDC(&second), D3dResult::InvalidCall);
  EXPECT_EQ(surface->ReleaseDC(dc), D3dResult::Ok);
  EXPECT_EQ(surface->ReleaseDC(dc), D3dResult::InvalidCall);
  EXPECT_EQ(surface->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  surface->UnlockRect();
  surface->Release();
}

TEST_F(SoftSurfaceTest, GdiDrawingLandsInTheSurface) {
  Open(Format::X8R8G8B8, 16, 16);
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  Hdc dc = nullptr;
  ASSERT_EQ(backBuffer->GetDC(&dc), D3dResult::Ok);
  soft::SoftGdi& gdi = host.Gdi();
  Hbrush brush = gdi.CreateSolidBrush(0x000000FFu);  // red as a COLORREF
  const Rect area{2, 3, 5, 7};
  EXPECT_NE(gdi.FillRect(dc, area, brush), 0);
  gdi.SetPixelV(dc, 10, 1, 0x00FF0000u);  // blue
  ASSERT_EQ(backBuffer->ReleaseDC(dc), D3dResult::Ok);
  gdi.DeleteObject(brush);

  soft::SoftSurface& pixels = Soft().BackBuffer();
  EXPECT_EQ(pixels.ReadPixel(2, 3) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(pixels.ReadPixel(4, 6) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(pixels.ReadPixel(5, 6), 0u);
  EXPECT_EQ(pixels.ReadPixel(4, 7), 0u);
  EXPECT_EQ(pixels.ReadPixel(10, 1) & 0x00FFFFFFu, 0x000000FFu);
  backBuffer->Release();
}

TEST_F(SoftSurfaceTest, GdiWorksOnSixteenBitSurfaces) {
  Open();
  Surface* surface = SystemCopy(4, 4, Format::X1R5G5B5);
  Hdc dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), D3dResult::Ok);
  host.Gdi().SetPixelV(dc, 1, 2, 0x000000FFu);
  surface->ReleaseDC(dc);
  LockedRect locked;
  ASSERT_EQ(surface->LockRect(&locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  const auto* row =
      reinterpret_cast<const uint16_t*>(static_cast<uint8_t*>(locked.pBits) + 2 * locked.Pitch);
  EXPECT_EQ(row[1] & 0x7FFFu, 0x7C00u);
  surface->UnlockRect();
  surface->Release();
}

TEST_F(SoftSurfaceTest, AlphaTexturesGiveNoDc) {
  Open();
  Texture* texture = PatternTexture(4, 4);
  Surface* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3dResult::Ok);
  Hdc dc = nullptr;
  EXPECT_EQ(level->GetDC(&dc), D3dResult::InvalidCall);
  level->Release();
  texture->Release();
}

TEST_F(SoftSurfaceTest, ScriptedGetDcFailure) {
  Open();
  Surface* surface = SystemCopy(4, 4);
  host.Faults().Fail(headless::FaultyCall::GetDC, 1);
  Hdc dc = nullptr;
  EXPECT_EQ(surface->GetDC(&dc), D3dResult::Fail);
  EXPECT_FALSE(static_cast<soft::SoftSurface*>(surface)->HasDC());
  EXPECT_EQ(surface->GetDC(&dc), D3dResult::Ok);
  surface->ReleaseDC(dc);
  surface->Release();
}

TEST_F(SoftSurfaceTest, TextureLevelSharesTheTexturePixels) {
  Open();
  Texture* texture = PatternTexture(3, 3);
  Surface* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3dResult::Ok);
  EXPECT_EQ(texture->GetSurfaceLevel(1, &level), D3dResult::InvalidCall);
  LockedRect locked;
  ASSERT_EQ(level->LockRect(&locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[2], Pattern(2, 0));
  // Locked through the level, the texture is locked too.
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, LockFlag::None), D3dResult::InvalidCall);
  level->UnlockRect();
  level->Release();
  texture->Release();
}

TEST_F(SoftSurfaceTest, CreationChecksItsArguments) {
  Open();
  Texture* texture = nullptr;
  Surface* surface = nullptr;
  EXPECT_EQ(device->CreateTexture(0, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::InvalidCall);
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, Format::R8G8B8, Pool::Managed, &texture),
            D3dResult::InvalidCall);
  EXPECT_EQ(device->CreateTexture(4, 4, 0, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::InvalidCall);
  EXPECT_EQ(texture, nullptr);
  EXPECT_EQ(device->CreateOffscreenPlainSurface(4, 4, Format::X8R8G8B8, Pool::Managed, &surface),
            D3dResult::InvalidCall);
  EXPECT_EQ(
      device->CreateRenderTarget(4, 4, Format::X1R5G5B5, MultiSample::None, 1, true, &surface),
      D3dResult::InvalidCall);
  EXPECT_EQ(surface, nullptr);
  EXPECT_EQ(host.Direct3D().Live().textures + host.Direct3D().Live().surfaces, 0);
}

TEST_F(SoftSurfaceTest, ScriptedCreationFailures) {
  Open();
  host.Faults().Fail(headless::FaultyCall::CreateTexture, 1, D3dResult::OutOfVideoMemory);
  host.Faults().Fail(headless::FaultyCall::CreateRenderTarget, 1);
  host.Faults().Fail(headless::FaultyCall::CreateOffscreenPlainSurface, 1);
  Texture* texture = nullptr;
  Surface* surface = nullptr;
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::OutOfVideoMemory);
  EXPECT_EQ(
      device->CreateRenderTarget(4, 4, Format::X1R5G5B5, MultiSample::None, 0, true, &surface),
      D3dResult::Fail);
  EXPECT_EQ(device->CreateOffscreenPlainSurface(4, 4, Format::X8R8G8B8, Pool::SystemMem, &surface),
            D3dResult::Fail);
  // Only the next call of each kind was scripted to fail.
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::Ok);
  texture->Release();
}

TEST_F(SoftSurfaceTest, ARenderTargetIsLockableOnlyWhenAskedFor) {
  Open();
  Surface* lockable = nullptr;
  Surface* fixed = nullptr;
  ASSERT_EQ(
      device->CreateRenderTarget(4, 4, Format::X1R5G5B5, MultiSample::None, 0, true, &lockable),
      D3dResult::Ok);
  ASSERT_EQ(device->CreateRenderTarget(4, 4, Format::X1R5G5B5, MultiSample::None, 0, false, &fixed),
            D3dResult::Ok);
  LockedRect locked;
  EXPECT_EQ(lockable->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  lockable->UnlockRect();
  EXPECT_EQ(fixed->LockRect(&locked, nullptr, LockFlag::None), D3dResult::InvalidCall);
  EXPECT_EQ(host.Direct3D().Live().surfaces, 2);
  lockable->Release();
  fixed->Release();
  EXPECT_EQ(host.Direct3D().Live().surfaces, 0);
}

}  // namespace
}  // namespace drawing::platform::testing
