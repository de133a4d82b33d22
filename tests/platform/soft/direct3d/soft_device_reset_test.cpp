// Device loss and reset: what survives, what must be given up first, and
// how the host's fault script steers TestCooperativeLevel and Reset.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace drawing::platform::testing {
namespace {

class SoftDeviceResetTest : public DeviceTest {
 protected:
  D3dResult ResetSame() {
    PresentParameters parameters = Soft().Parameters();
    return device->Reset(&parameters);
  }
};

TEST_F(SoftDeviceResetTest, ManagedTextureSurvivesWhileTheBackBufferIsNew) {
  Open(Format::X8R8G8B8, 8, 8);
  Texture* texture = PatternTexture(4, 4);
  device->Clear(0, nullptr, ClearFlag::Target, 0x00FFFFFFu, 0.0f, 0);
  const soft::SoftSurface* before = &Soft().BackBuffer();

  ASSERT_EQ(ResetSame(), D3dResult::Ok);

  EXPECT_NE(&Soft().BackBuffer(), before);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(0, 0), 0u);
  EXPECT_EQ(Soft().BackBuffer().Desc().width, 8u);
  LockedRect locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  EXPECT_EQ(static_cast<uint32_t*>(locked.pBits)[3], Pattern(3, 0));
  texture->UnlockRect(0);
  // And it still draws.
  ASSERT_EQ(DrawSprite(texture, 1, 1, 4, 4), D3dResult::Ok);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(2, 1), Pattern(1, 0));
  texture->Release();
}

TEST_F(SoftDeviceResetTest, RefusedWhileARenderTargetLives) {
  Open();
  Surface* target = nullptr;
  ASSERT_EQ(device->CreateRenderTarget(4, 4, Format::X1R5G5B5, MultiSample::None, 0, true, &target),
            D3dResult::Ok);
  EXPECT_EQ(ResetSame(), D3dResult::InvalidCall);
  target->Release();
  EXPECT_EQ(ResetSame(), D3dResult::Ok);
}

TEST_F(SoftDeviceResetTest, RefusedWhileTheBackBufferIsHeld) {
  Open();
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  EXPECT_EQ(ResetSame(), D3dResult::InvalidCall);
  backBuffer->Release();
  EXPECT_EQ(ResetSame(), D3dResult::Ok);
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  EXPECT_EQ(backBuffer, &Soft().BackBuffer());
  backBuffer->Release();
}

TEST_F(SoftDeviceResetTest, SystemMemorySurfacesAndTexturesMayStay) {
  Open();
  Surface* copy = nullptr;
  ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, Format::X8R8G8B8, Pool::SystemMem, &copy),
            D3dResult::Ok);
  Texture* texture = PatternTexture(2, 2);
  EXPECT_EQ(ResetSame(), D3dResult::Ok);
  copy->Release();
  texture->Release();
}

TEST_F(SoftDeviceResetTest, ResetRestoresTheInitialStates) {
  Open();
  Texture* texture = PatternTexture(2, 2);
  device->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device->SetRenderState(RenderState::DestBlend, static_cast<uint32_t>(Blend::One));
  device->SetFVF(0x104);
  device->SetTexture(0, texture);
  ASSERT_EQ(device->BeginScene(), D3dResult::Ok);
  ASSERT_EQ(ResetSame(), D3dResult::Ok);
  EXPECT_EQ(Soft().RenderStateValue(RenderState::AlphaBlendEnable), 0u);
  EXPECT_EQ(Soft().RenderStateValue(RenderState::DestBlend), static_cast<uint32_t>(Blend::Zero));
  EXPECT_EQ(Soft().Fvf(), 0u);
  EXPECT_EQ(Soft().BoundTexture(0), nullptr);
  EXPECT_FALSE(Soft().InScene());
  texture->Release();
}

TEST_F(SoftDeviceResetTest, ResetChecksItsParameters) {
  Open();
  PresentParameters empty = Soft().Parameters();
  empty.BackBufferWidth = 0;
  EXPECT_EQ(device->Reset(&empty), D3dResult::InvalidCall);
  EXPECT_EQ(device->Reset(nullptr), D3dResult::InvalidCall);
  PresentParameters larger = Soft().Parameters();
  larger.BackBufferWidth = 100;
  larger.BackBufferHeight = 50;
  ASSERT_EQ(device->Reset(&larger), D3dResult::Ok);
  EXPECT_EQ(Soft().BackBuffer().Desc().width, 100u);
  EXPECT_EQ(host.Display().ScreenParameters().BackBufferHeight, 50u);
}

TEST_F(SoftDeviceResetTest, ALossRunsFromLostToNotResetToOk) {
  Open();
  host.Faults().LoseDevice(host.System().Now(), 40);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceLost);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  EXPECT_EQ(ResetSame(), D3dResult::DeviceLost);  // cannot be reset yet
  host.System().Sleep(39);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceLost);
  host.System().Sleep(1);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceNotReset);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  host.System().Sleep(1000);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceNotReset);
  ASSERT_EQ(ResetSame(), D3dResult::Ok);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
}

TEST_F(SoftDeviceResetTest, AFailedResetLeavesTheDeviceWaitingForAnother) {
  Open();
  host.Faults().Fail(headless::FaultyCall::Reset, 1);
  EXPECT_EQ(ResetSame(), D3dResult::Fail);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceNotReset);
  EXPECT_EQ(ResetSame(), D3dResult::Ok);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
}

TEST_F(SoftDeviceResetTest, QueuedCooperativeAnswersComeFirstOnePerCall) {
  Open();
  host.Faults().QueueCooperativeCodes(
      {D3dResult::DeviceLost, D3dResult::DriverInternalError, D3dResult::DeviceNotReset});
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceLost);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DriverInternalError);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceNotReset);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
}

}  // namespace
}  // namespace drawing::platform::testing
