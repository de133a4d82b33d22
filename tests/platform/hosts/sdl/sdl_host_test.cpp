// The whole SDL host as the display and input subsystems meet it: the
// Direct3D path from loading the module to a presented frame, and the
// DirectInput path, on SDL's dummy video driver.
#include "platform/hosts/sdl/sdl_host.h"

#include "sdl_fixture.h"

namespace drawing::platform::sdl {
namespace {

using testing::ProcedureLog;

class SdlHostTest : public ::testing::Test {
 protected:
  void SetUp() override { SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy"); }
};

TEST_F(SdlHostTest, AFullScreenDeviceOpensAndPresentsThroughTheSoftwareDevice) {
  SdlHost host;
  Platform platform = host.GetPlatform();
  ProcedureLog log;
  const Hwnd window = testing::MakeWindow(host.Windowing(), log);
  ASSERT_NE(window, nullptr);

  ASSERT_TRUE(platform.direct3d.LoadLibrary());
  ASSERT_TRUE(platform.direct3d.GetProcAddress());
  Direct3D* direct3d = platform.direct3d.Direct3DCreate9(32);
  ASSERT_NE(direct3d, nullptr);
  const uint32_t modes = direct3d->GetAdapterModeCount(0, Format::X8R8G8B8);
  ASSERT_GT(modes, 0u);
  DisplayMode mode;
  ASSERT_EQ(direct3d->EnumAdapterModes(0, Format::X8R8G8B8, 0, &mode), D3dResult::Ok);
  EXPECT_EQ(direct3d->CheckDeviceType(0, DevType::Hal, Format::X8R8G8B8, Format::X8R8G8B8, false),
            D3dResult::Ok);

  PresentParameters parameters;
  parameters.BackBufferWidth = mode.Width;
  parameters.BackBufferHeight = mode.Height;
  parameters.BackBufferFormat = Format::X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.swapEffect = SwapEffect::Flip;
  parameters.hDeviceWindow = window;
  parameters.Flags = static_cast<uint32_t>(PresentFlag::LockableBackbuffer);
  parameters.PresentationInterval = PresentInterval::Immediate;
  Device* device = nullptr;
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, window,
                                   static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing),
                                   &parameters, &device),
            D3dResult::Ok);
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(host.Display().DeviceOpen());
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  // The back buffer is the texture's memory: what is drawn reaches the
  // screen without a copy.
  ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0x00FF0000u, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.Display().PresentedCount(), 1u);
  EXPECT_EQ(host.Display().CopiedCount(), 0u);
  ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0x000000FFu, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  uint32_t shown = 0;
  const SDL_Rect corner{0, 0, 1, 1};
  ASSERT_EQ(
      SDL_RenderReadPixels(host.Display().Renderer(), &corner, SDL_PIXELFORMAT_RGB888, &shown, 4),
      0);
  EXPECT_EQ(shown & 0x00FFFFFFu, 0x000000FFu);
  EXPECT_EQ(host.Display().CopiedCount(), 0u);

  device->Release();
  EXPECT_FALSE(host.Display().DeviceOpen());
  direct3d->Release();
}

TEST_F(SdlHostTest, WithoutADisplayDirect3DDoesNotLoadAndNoWindowIsMade) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "no such driver");
  SdlHost host;
  Platform platform = host.GetPlatform();
  EXPECT_FALSE(platform.direct3d.LoadLibrary());
  EXPECT_FALSE(platform.directInput.LoadLibrary());
  ProcedureLog log;
  EXPECT_EQ(testing::MakeWindow(host.Windowing(), log), nullptr);
}

TEST_F(SdlHostTest, TheInputDevicesHearThePump) {
  SdlHost host;
  ProcedureLog log;
  const Hwnd window = testing::MakeWindow(host.Windowing(), log);
  ASSERT_NE(window, nullptr);
  testing::PushWindowEvent(host.Windowing().SdlWindow(window), SDL_WINDOWEVENT_FOCUS_GAINED);
  testing::PushKey(SDL_SCANCODE_ESCAPE, true);
  testing::PumpAll(host.Windowing());
  EXPECT_TRUE(host.Input().Focused());
  EXPECT_TRUE(host.Input().KeyHeld(1));
}

}  // namespace
}  // namespace drawing::platform::sdl
