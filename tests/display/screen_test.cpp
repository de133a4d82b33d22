// Starting the display, opening and closing the full-screen device, and
// shutting down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display_world.h"

namespace drawing::display::testing {
namespace {

using platform::Format;
using platform::PresentInterval;

TEST(InitDisplay, CreatesAHiddenOnePixelPopupWindow) {
  HeadlessConfig config;
  config.windowing.iconAvailable = true;
  DisplayWorld world(config);
  ASSERT_EQ(world.display.InitDisplay(), 1);
  const ScreenState& state = world.State();
  EXPECT_TRUE(state.windowCreated);
  EXPECT_TRUE(state.displayReady);
  ASSERT_NE(state.window, nullptr);
  EXPECT_EQ(state.screenWindow, nullptr);
  EXPECT_NE(state.direct3D, nullptr);

  const auto* window = world.host.Windowing().Window(state.window);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->className, "MultimediaBase Class");
  EXPECT_EQ(window->title, "");
  EXPECT_EQ(window->style, static_cast<uint32_t>(platform::WindowStyle::Popup));
  EXPECT_EQ(window->exStyle, 0u);
  EXPECT_FALSE(window->visible);
  EXPECT_EQ(window->width, 1);
  EXPECT_EQ(window->height, 1);
}

TEST(InitDisplay, ASecondCallIsRefusedAndKeepsTheWindowAndTheSprites) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  ASSERT_NE(world.display.NewSprite(0, 8, 8), nullptr);
  const platform::Hwnd window = world.State().window;
  EXPECT_EQ(world.display.InitDisplay(), 0);
  EXPECT_EQ(world.State().window, window);
  EXPECT_EQ(world.host.Windowing().Windows().size(), 1u);
  world.display.ShowSprite(0, 0, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 1u);
}

struct ModuleFault {
  const char* name;
  bool platform::soft::SoftDirect3DModuleFaults::*fault;
};

TEST(InitDisplay, FailsWithoutDirect3DAndSpriteCallsStayHarmless) {
  const ModuleFault faults[] = {
      {"library", &platform::soft::SoftDirect3DModuleFaults::libraryMissing},
      {"entry point", &platform::soft::SoftDirect3DModuleFaults::entryPointMissing},
      {"object", &platform::soft::SoftDirect3DModuleFaults::createReturnsNull},
  };
  for (const ModuleFault& fault : faults) {
    SCOPED_TRACE(fault.name);
    HeadlessConfig config;
    config.direct3d.*fault.fault = true;
    DisplayWorld world(config);
    EXPECT_EQ(world.display.InitDisplay(), 0);
    EXPECT_FALSE(world.State().displayReady);
    EXPECT_EQ(world.State().direct3D, nullptr);
    EXPECT_TRUE(world.State().windowCreated);

    // The application goes on regardless; nothing may break.
    EXPECT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing"), 0);
    EXPECT_EQ(world.display.NewSprite(0, 320, 240), nullptr);
    world.display.ShowSprite(0, 0, 0);
    world.display.DestroyAllSprites();
    EXPECT_EQ(world.display.PresentFrame(), 1);
    EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  }
}

TEST(InitDisplay, AnAdapterWithoutModesReleasesTheDirect3DObject) {
  DisplayWorld world(WithModes({platform::DisplayMode{640, 480, 60, Format::R8G8B8}}));
  EXPECT_EQ(world.display.InitDisplay(), 0);
  EXPECT_EQ(world.State().direct3D, nullptr);
  EXPECT_EQ(world.host.Direct3D().Live().direct3d, 0);
}

TEST(InitDisplay, FailsWhenTheWindowCannotBeMade) {
  for (bool failRegister : {true, false}) {
    HeadlessConfig config;
    config.windowing.failRegisterClass = failRegister;
    config.windowing.failCreateWindow = !failRegister;
    DisplayWorld world(config);
    EXPECT_EQ(world.display.InitDisplay(), 0);
    EXPECT_FALSE(world.State().windowCreated);
    EXPECT_EQ(world.State().direct3D, nullptr);
    // The application opens anyway; without a window nothing is hidden.
    EXPECT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing"), 0);
    EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  }
}

TEST(OpenFullScreen, At32BitsOpensAnX8R8G8B8Screen) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(640, 480, 32), 1);
  const ScreenState& state = world.State();
  EXPECT_TRUE(state.screenOpen);
  EXPECT_TRUE(state.DeviceActive);
  EXPECT_EQ(state.depth, 32);
  EXPECT_EQ(state.ScreenPixelFormat, platform::PixelLayout::Bgrx32);
  EXPECT_EQ(state.screenWidth, 640);
  EXPECT_EQ(state.screenHeight, 480);
  ASSERT_NE(state.device, nullptr);
  EXPECT_EQ(state.backBuffer, &world.Device().BackBuffer());

  const platform::PresentParameters& parameters = world.Device().Parameters();
  EXPECT_EQ(parameters.BackBufferFormat, Format::X8R8G8B8);
  EXPECT_EQ(parameters.BackBufferWidth, 640u);
  EXPECT_EQ(parameters.BackBufferHeight, 480u);
  EXPECT_EQ(parameters.BackBufferCount, 1u);
  EXPECT_EQ(parameters.swapEffect, platform::SwapEffect::Flip);
  EXPECT_EQ(parameters.hDeviceWindow, state.window);
  EXPECT_FALSE(parameters.Windowed);
  EXPECT_FALSE(parameters.EnableAutoDepthStencil);
  EXPECT_EQ(parameters.Flags, 1u);
  EXPECT_EQ(parameters.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(parameters.PresentationInterval, PresentInterval::One);

  const auto* window = world.host.Windowing().Window(state.screenWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->title, "drawing");
  EXPECT_EQ(window->width, 640);
  EXPECT_EQ(window->height, 480);
  EXPECT_TRUE(window->visible);
  EXPECT_TRUE(window->maximized);
  EXPECT_EQ(world.host.Windowing().CursorCounter(), -1);
  EXPECT_EQ(world.host.System().OpenTimePeriods(), 1);

  // The first frame starts black.
  EXPECT_EQ(world.BackBufferPixel(0, 0) & 0xFFFFFFu, 0u);
  EXPECT_EQ(world.BackBufferPixel(639, 479) & 0xFFFFFFu, 0u);
}

TEST(OpenFullScreen, ABackBufferTheDeviceWithholdsIsNeverUsed) {
  DisplayWorld world;
  world.host.Faults().Fail(platform::headless::FaultyCall::GetBackBuffer, 1);
  ASSERT_EQ(world.Open(), 1);
  EXPECT_EQ(world.display.BackBuffer(), nullptr);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  world.display.CloseFullScreen();
  ASSERT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing"), 1);
  EXPECT_EQ(world.display.BackBuffer(), &world.Device().BackBuffer());
}

TEST(OpenFullScreen, At16BitsPrefersX1R5G5B5OverR5G6B5) {
  struct Case {
    std::vector<Format> usable;
    Format opened;
    platform::PixelLayout layout;
  };
  const Case cases[] = {
      {{Format::X8R8G8B8, Format::R5G6B5, Format::X1R5G5B5},
       Format::X1R5G5B5,
       platform::PixelLayout::Rgb555},
      {{Format::X8R8G8B8, Format::R5G6B5}, Format::R5G6B5, platform::PixelLayout::Rgb565},
  };
  for (const Case& test : cases) {
    HeadlessConfig config;
    config.display.usableFormats = test.usable;
    DisplayWorld world(config);
    ASSERT_EQ(world.Open(320, 240, 16), 1);
    EXPECT_EQ(world.State().depth, 16);
    EXPECT_EQ(world.State().ScreenPixelFormat, test.layout);
    EXPECT_EQ(world.Device().Parameters().BackBufferFormat, test.opened);
  }
}

TEST(OpenFullScreen, At24BitsFailsAndShowsTheCursorAgain) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  EXPECT_EQ(world.display.OpenFullScreen(320, 240, 24, "drawing"), 0);
  const ScreenState& state = world.State();
  EXPECT_FALSE(state.screenOpen);
  EXPECT_EQ(state.device, nullptr);
  EXPECT_EQ(world.host.Device(), nullptr);
  // The requested values stay; the window is named and sized but hidden.
  EXPECT_EQ(state.screenWidth, 320);
  EXPECT_EQ(state.screenHeight, 240);
  EXPECT_EQ(state.depth, 24);
  const auto* window = world.host.Windowing().Window(state.window);
  EXPECT_EQ(window->title, "drawing");
  EXPECT_FALSE(window->visible);
  // The user keeps a pointer.
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  // No sprite can be made.
  EXPECT_EQ(world.display.NewSprite(0, 320, 240), nullptr);
  EXPECT_EQ(world.host.System().OpenTimePeriods(), 0);
  // Nothing to close.
  world.display.CloseFullScreen();
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  EXPECT_EQ(world.host.System().TimeEndPeriodCalls(), 0u);
}

TEST(OpenFullScreen, ARefusedDeviceDestroysTheSpritesOfTheOpenScreen) {
  // Opening again over an open screen is the caller's mistake, but a failure
  // must still leave no sprite and the cursor as it was.
  DisplayWorld world;
  ASSERT_EQ(world.Open(320, 240, 32), 1);
  ASSERT_NE(world.display.NewSprite(3, 16, 16), nullptr);
  ASSERT_EQ(world.host.Direct3D().Live().textures, 1);
  world.host.Faults().Fail(platform::headless::FaultyCall::CreateDevice, 1);
  EXPECT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing"), 0);
  EXPECT_EQ(world.host.Direct3D().Live().textures, 0);
  EXPECT_EQ(world.host.Windowing().CursorCounter(), -1);
}

TEST(OpenFullScreen, ADeviceTheDriverRefusesShowsTheCursorAgain) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  world.host.Faults().Fail(platform::headless::FaultyCall::CreateDevice, 1);
  EXPECT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing"), 0);
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  EXPECT_FALSE(world.State().screenOpen);
}

TEST(OpenFullScreen, RefreshRateMinusOneMeansTheAdapterDefault) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  ASSERT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing", 1, -1), 1);
  EXPECT_EQ(world.State().refreshRate, 0);
  EXPECT_EQ(world.Device().Parameters().FullScreen_RefreshRateInHz, 0u);
  world.display.CloseFullScreen();

  ASSERT_EQ(world.display.OpenFullScreen(320, 240, 32, "drawing", 0, 60), 1);
  EXPECT_EQ(world.State().refreshRate, 60);
  EXPECT_EQ(world.Device().Parameters().FullScreen_RefreshRateInHz, 60u);
  EXPECT_EQ(world.Device().Parameters().PresentationInterval, PresentInterval::Immediate);
}

TEST(OpenFullScreen, SizeIsTakenAs16BitValues) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  ASSERT_EQ(world.display.OpenFullScreen(65536 + 320, 65536 + 240, 32, "drawing"), 1);
  EXPECT_EQ(world.State().screenWidth, 320);
  EXPECT_EQ(world.State().screenHeight, 240);
  EXPECT_EQ(world.Device().Parameters().BackBufferWidth, 320u);
}

TEST(OpenFullScreen, VertexProcessingFollowsTheHardwareTransformCap) {
  {
    DisplayWorld world;
    ASSERT_EQ(world.Open(), 1);
    EXPECT_EQ(world.Device().BehaviorFlags(), 0x80u);
  }
  HeadlessConfig config;
  config.display.caps.DevCaps = 0;
  DisplayWorld world(config);
  ASSERT_EQ(world.Open(), 1);
  EXPECT_EQ(world.Device().BehaviorFlags(), 0x20u);
}

TEST(OpenFullScreen, SetsTheDefaultDeviceStates) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  platform::soft::SoftDevice& device = world.Device();
  const auto selectArg1 = static_cast<uint32_t>(platform::TextureOp::SelectArg1);
  const auto point = static_cast<uint32_t>(platform::TextureFilter::Point);
  EXPECT_EQ(device.TextureStageStateValue(0, platform::TextureStageState::ColorOp), selectArg1);
  EXPECT_EQ(device.TextureStageStateValue(0, platform::TextureStageState::AlphaOp), selectArg1);
  EXPECT_FALSE(device.SoftwareVertexProcessing());
  EXPECT_EQ(device.SamplerStateValue(0, platform::SamplerState::MagFilter), point);
  EXPECT_EQ(device.SamplerStateValue(0, platform::SamplerState::MinFilter), point);
  EXPECT_EQ(device.RenderStateValue(platform::RenderState::MultisampleAntialias), 0u);
}

TEST(CloseFullScreen, ReleasesTheDeviceAndRestoresWindowCursorAndTimer) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  ASSERT_NE(world.display.NewSprite(0, 320, 240), nullptr);
  world.display.ShowSprite(0, 0, 0);  // leaves a scene open
  world.display.CloseFullScreen();

  const ScreenState& state = world.State();
  EXPECT_FALSE(state.screenOpen);
  EXPECT_EQ(state.device, nullptr);
  EXPECT_EQ(state.backBuffer, nullptr);
  EXPECT_FALSE(state.SceneOpen);
  EXPECT_EQ(state.screenWidth, 0);
  EXPECT_EQ(state.screenHeight, 0);
  EXPECT_EQ(world.host.Device(), nullptr);
  EXPECT_EQ(world.host.Direct3D().Live().devices, 0);
  EXPECT_EQ(world.host.Direct3D().Live().textures, 0);
  EXPECT_EQ(world.host.Direct3D().Live().surfaces, 0);
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  EXPECT_EQ(world.host.System().OpenTimePeriods(), 0);
  EXPECT_FALSE(world.host.Windowing().Window(state.window)->visible);
  // The window stays for a later open; sprite 0 went with the screen, and
  // the new device's first sprite sets every render state again.
  EXPECT_EQ(world.display.OpenFullScreen(320, 240, 32, "again"), 1);
  world.display.ShowSprite(0, 0, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 0u);
  ASSERT_NE(world.display.NewSprite(0, 16, 16), nullptr);
  world.display.ShowSprite(0, 0, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::SetFVF), 1u);
  EXPECT_EQ(world.Device().RenderStateValue(platform::RenderState::AlphaBlendEnable), 1u);
}

TEST(CloseFullScreen, TwiceOrWithoutAScreenDoesNothing) {
  DisplayWorld world;
  world.display.CloseFullScreen();
  ASSERT_EQ(world.Open(), 1);
  world.display.CloseFullScreen();
  world.display.CloseFullScreen();
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  EXPECT_EQ(world.host.System().TimeEndPeriodCalls(), 1u);
  EXPECT_EQ(world.host.System().OpenTimePeriods(), 0);
}

TEST(ShutdownDisplay, ClosesTheScreenAndReleasesEverything) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  ASSERT_NE(world.display.NewSprite(0, 320, 240), nullptr);
  world.display.ShutdownDisplay();
  EXPECT_FALSE(world.State().displayReady);
  EXPECT_EQ(world.State().direct3D, nullptr);
  EXPECT_EQ(world.host.Direct3D().Live().Total(), 0);
  EXPECT_EQ(world.host.Windowing().CursorCounter(), 0);
  EXPECT_EQ(world.host.System().OpenTimePeriods(), 0);
  world.display.ShutdownDisplay();  // harmless
}

}  // namespace
}  // namespace drawing::display::testing
