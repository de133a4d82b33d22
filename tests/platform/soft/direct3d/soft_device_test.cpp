// The software device as the display layer uses it: clearing, the scene
// bracket, presentation to the host and the record of state changes.
#include <gtest/gtest.h>

#include "device_fixture.h"
#include "support/emulation_recorder.h"

namespace drawing::platform::testing {
namespace {

using soft::DeviceCallKind;

class SoftDeviceTest : public DeviceTest {};

TEST_F(SoftDeviceTest, ClearTakesColoursInDeviceOrder) {
  Open(Format::X8R8G8B8, 8, 4);
  ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0x00FF0000u, 0.0f, 0), D3dResult::Ok);
  // Red in memory is blue, green, red, X.
  const uint8_t* pixel = Soft().BackBuffer().Pixels();
  EXPECT_EQ(pixel[0], 0x00);
  EXPECT_EQ(pixel[1], 0x00);
  EXPECT_EQ(pixel[2], 0xFF);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(7, 3), 0x00FF0000u);
}

struct ClearCase {
  Format format;
  uint32_t color;
  uint32_t pixel;
};

class ClearConversionTest : public DeviceTest, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(ClearConversionTest, ColourBecomesTheBackBuffersPixel) {
  const ClearCase& example = GetParam();
  Open(example.format, 4, 3);
  ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, example.color, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(0, 0), example.pixel);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(3, 2), example.pixel);
}

INSTANTIATE_TEST_SUITE_P(Formats, ClearConversionTest,
                         ::testing::Values(ClearCase{Format::X8R8G8B8, 0x12345678u,
                                                     0x12345678u},  // top byte kept
                                           ClearCase{Format::R5G6B5, 0x00FF0000u, 0xF800u},
                                           ClearCase{Format::R5G6B5, 0x0000FF00u, 0x07E0u},
                                           ClearCase{Format::R5G6B5, 0x000000FFu, 0x001Fu},
                                           ClearCase{Format::X1R5G5B5, 0x000000FFu, 0x001Fu},
                                           ClearCase{Format::X1R5G5B5, 0x00FF0000u, 0x7C00u},
                                           ClearCase{Format::X1R5G5B5, 0x0000FF00u, 0x03E0u}));

TEST_F(SoftDeviceTest, ClearOfRectanglesTouchesOnlyThemClipped) {
  Open(Format::X8R8G8B8, 8, 8);
  device->Clear(0, nullptr, ClearFlag::Target, 0x00000000u, 0.0f, 0);
  const Rect area{6, -2, 12, 2};
  ASSERT_EQ(device->Clear(1, &area, ClearFlag::Target, 0x00ABCDEFu, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(6, 0), 0x00ABCDEFu);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(7, 1), 0x00ABCDEFu);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(5, 0), 0u);
  EXPECT_EQ(Soft().BackBuffer().ReadPixel(6, 2), 0u);
}

TEST_F(SoftDeviceTest, ClearNeedsNoSceneAndRefusesDepth) {
  Open();
  EXPECT_FALSE(Soft().InScene());
  EXPECT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(device->Clear(0, nullptr, static_cast<ClearFlag>(0x3), 0, 0.0f, 0),
            D3dResult::InvalidCall);
  EXPECT_EQ(device->Clear(2, nullptr, ClearFlag::Target, 0, 0.0f, 0), D3dResult::InvalidCall);
}

TEST_F(SoftDeviceTest, ScenesDoNotNestAndMustBeBalanced) {
  Open();
  EXPECT_EQ(device->EndScene(), D3dResult::InvalidCall);
  EXPECT_EQ(device->BeginScene(), D3dResult::Ok);
  EXPECT_EQ(device->BeginScene(), D3dResult::InvalidCall);
  EXPECT_TRUE(Soft().InScene());
  EXPECT_EQ(device->EndScene(), D3dResult::Ok);
  EXPECT_EQ(device->EndScene(), D3dResult::InvalidCall);
}

TEST_F(SoftDeviceTest, PresentOnlyOutsideAScene) {
  Open();
  ASSERT_EQ(device->BeginScene(), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::InvalidCall);
  EXPECT_EQ(host.Display().PresentedCount(), 0u);
  device->EndScene();
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.Display().PresentedCount(), 1u);
}

TEST_F(SoftDeviceTest, PresentHandsTheBackBufferToTheHost) {
  Open(Format::X8R8G8B8, 5, 3);
  device->Clear(0, nullptr, ClearFlag::Target, 0x00102030u, 0.0f, 0);
  Soft().BackBuffer().WritePixel(4, 2, 0x00FFFFFFu);
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  const headless::PresentedFrame* frame = host.Display().LastFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 5u);
  EXPECT_EQ(frame->height, 3u);
  EXPECT_EQ(frame->layout, PixelLayout::Bgrx32);
  EXPECT_EQ(frame->Pixel(0, 0), 0x00102030u);
  EXPECT_EQ(frame->Pixel(4, 2), 0x00FFFFFFu);
  // A copy: later drawing does not change what was presented.
  device->Clear(0, nullptr, ClearFlag::Target, 0u, 0.0f, 0);
  EXPECT_EQ(frame->Pixel(0, 0), 0x00102030u);
}

TEST_F(SoftDeviceTest, PresentResultComesFromTheFaultScript) {
  Open();
  host.Faults().Fail(headless::FaultyCall::Present, 1, D3dResult::DeviceLost);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.Display().PresentedCount(), 1u);
}

TEST_F(SoftDeviceTest, StatesAreRecordedWithTheirValues) {
  Open();
  support::EmulationRecorder log;
  host.Direct3D().SetObserver(&log);
  device->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device->SetRenderState(RenderState::SrcBlend, static_cast<uint32_t>(Blend::One));
  device->SetFVF(0x104);
  device->SetTextureStageState(0, TextureStageState::ColorOp, 2);
  device->SetSamplerState(0, SamplerState::MagFilter, 1);
  EXPECT_EQ(Soft().RenderStateValue(RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(Soft().Fvf(), 0x104u);
  EXPECT_EQ(Soft().TextureStageStateValue(0, TextureStageState::ColorOp), 2u);
  EXPECT_EQ(log.DeviceCallCount(DeviceCallKind::SetRenderState), 2u);
  const auto renderStates = log.DeviceCallsOf(DeviceCallKind::SetRenderState);
  ASSERT_EQ(renderStates.size(), 2u);
  EXPECT_EQ(renderStates[0].a, static_cast<uint32_t>(RenderState::AlphaBlendEnable));
  EXPECT_EQ(renderStates[0].b, 1u);
  EXPECT_EQ(renderStates[1].a, static_cast<uint32_t>(RenderState::SrcBlend));
  EXPECT_EQ(log.DeviceCallCount(DeviceCallKind::SetFVF), 1u);
  EXPECT_EQ(log.DeviceCallCount(DeviceCallKind::SetSamplerState), 1u);
}

TEST_F(SoftDeviceTest, CallsReachOnlyAnAttachedObserver) {
  Open();
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  support::EmulationRecorder log;
  host.Direct3D().SetObserver(&log);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  host.Direct3D().SetObserver(nullptr);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  ASSERT_EQ(log.DeviceCalls().size(), 1u);
  EXPECT_EQ(log.DeviceCalls()[0].kind, DeviceCallKind::Present);
}

TEST_F(SoftDeviceTest, SoftwareVertexProcessingFollowsTheCreationMode) {
  Open();  // mixed
  EXPECT_EQ(device->SetSoftwareVertexProcessing(false), D3dResult::Ok);
  EXPECT_FALSE(Soft().SoftwareVertexProcessing());
  EXPECT_EQ(device->SetSoftwareVertexProcessing(true), D3dResult::Ok);
  EXPECT_TRUE(Soft().SoftwareVertexProcessing());

  Device* softwareOnly = nullptr;
  PresentParameters parameters = FullScreen(8, 8, Format::X8R8G8B8, Window());
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, Window(),
                                   static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing),
                                   &parameters, &softwareOnly),
            D3dResult::Ok);
  EXPECT_EQ(softwareOnly->SetSoftwareVertexProcessing(false), D3dResult::InvalidCall);
  EXPECT_EQ(softwareOnly->SetSoftwareVertexProcessing(true), D3dResult::Ok);
  softwareOnly->Release();
}

TEST_F(SoftDeviceTest, BackBufferIsLockableOnlyWhenAskedFor) {
  Open();
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  EXPECT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  EXPECT_GE(locked.Pitch, 64 * 4);
  backBuffer->UnlockRect();
  backBuffer->Release();

  Device* plain = nullptr;
  PresentParameters parameters = FullScreen(8, 8, Format::X8R8G8B8, Window());
  parameters.Flags = 0;
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, Window(),
                                   static_cast<uint32_t>(CreateFlag::MixedVertexProcessing),
                                   &parameters, &plain),
            D3dResult::Ok);
  Surface* unlockable = nullptr;
  ASSERT_EQ(plain->GetBackBuffer(0, 0, BackBufferType::Mono, &unlockable), D3dResult::Ok);
  EXPECT_EQ(unlockable->LockRect(&locked, nullptr, LockFlag::None), D3dResult::InvalidCall);
  Hdc dc = nullptr;
  EXPECT_EQ(unlockable->GetDC(&dc), D3dResult::InvalidCall);
  unlockable->Release();
  plain->Release();
}

TEST_F(SoftDeviceTest, ReleasingEverythingLeavesNothingAlive) {
  Open();
  Texture* texture = PatternTexture(4, 4);
  Surface* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3dResult::Ok);
  Surface* copy = nullptr;
  ASSERT_EQ(device->CreateOffscreenPlainSurface(4, 4, Format::X8R8G8B8, Pool::SystemMem, &copy),
            D3dResult::Ok);
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  EXPECT_EQ(host.Direct3D().Live().textures, 1);
  EXPECT_EQ(host.Direct3D().Live().surfaces, 1);

  // The device stays while anything of it is held.
  EXPECT_GT(device->Release(), 0u);
  device = nullptr;
  texture->Release();
  EXPECT_EQ(host.Direct3D().Live().textures, 1);  // the level still holds it
  level->Release();
  copy->Release();
  EXPECT_EQ(host.Direct3D().Live().devices, 1);
  backBuffer->Release();
  EXPECT_EQ(host.Direct3D().Live().devices, 0);
  EXPECT_FALSE(host.Display().DeviceOpen());
  direct3d->Release();
  direct3d = nullptr;
  EXPECT_EQ(host.Direct3D().Live().Total(), 0);
}

}  // namespace
}  // namespace drawing::platform::testing
