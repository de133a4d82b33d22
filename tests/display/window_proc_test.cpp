// The screen window's procedure, reached as the system reaches it (a message
// dispatched to the screen window): activation, the swallowed close command
// and the messages it answers itself.
#include <gtest/gtest.h>

#include "display_world.h"
#include "platform/hosts/headless/headless_input.h"

namespace drawing::display::testing {
namespace {

using platform::Wm;

// What the screen window's procedure answers to `message`.
intptr_t Send(DisplayWorld& world, Wm message, uintptr_t wParam = 0) {
  return world.host.Windowing().DispatchMessage(
      platform::Msg{world.State().window, static_cast<uint32_t>(message), wParam, 0});
}

// An acquired mouse that the display's deactivation notification lets go,
// as the application wires it.
struct AcquiredMouse {
  explicit AcquiredMouse(DisplayWorld& world) {
    platform::headless::HeadlessInput& input = world.host.Input();
    input.LoadLibrary();
    input.GetProcAddress();
    EXPECT_EQ(input.DirectInputCreateEx(nullptr, 0x0700, &directInput), platform::DiResult::Ok);
    EXPECT_EQ(directInput->CreateDeviceEx(platform::DeviceGuid::SysMouse, &device),
              platform::DiResult::Ok);
    platform::DiDataFormat format;
    EXPECT_EQ(device->SetDataFormat(format), platform::DiResult::Ok);
    EXPECT_EQ(device->SetCooperativeLevel(
                  world.State().window,
                  platform::DisclBits(platform::Discl::NonExclusive, platform::Discl::Foreground)),
              platform::DiResult::Ok);
    EXPECT_EQ(device->Acquire(), platform::DiResult::Ok);
    headless = input.Device(platform::DeviceGuid::SysMouse);
    world.display.SetDeactivationListener([this] { device->Unacquire(); });
  }
  ~AcquiredMouse() {
    device->Release();
    directInput->Release();
  }

  platform::DirectInput* directInput = nullptr;
  platform::InputDevice* device = nullptr;
  platform::soft::SoftInputDevice* headless = nullptr;
};

TEST(ScreenWindowProc, DeactivationStopsTheDeviceAndReleasesTheMouse) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  AcquiredMouse mouse(world);
  ASSERT_TRUE(mouse.headless->Acquired());

  world.host.Windowing().PostActivation(false);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_FALSE(world.State().DeviceActive);
  EXPECT_FALSE(mouse.headless->Acquired());
  EXPECT_EQ(
      world.recorder
          .InputCallsOf(platform::soft::InputCallKind::Unacquire, platform::DeviceGuid::SysMouse)
          .size(),
      1u);

  world.host.Windowing().PostActivation(true);
  world.display.PresentFrame();
  EXPECT_TRUE(world.State().DeviceActive);
}

TEST(ScreenWindowProc, AnyActivationCountsAndNoListenerIsFine) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);

  EXPECT_EQ(Send(world, Wm::Activate, 0), 0);
  EXPECT_FALSE(world.display.ScreenActive());
  // Click activation, with the minimised flag in the high word.
  EXPECT_EQ(Send(world, Wm::Activate, 0x00010002u), 0);
  EXPECT_TRUE(world.display.ScreenActive());
  // Only the low word says whether the window is active.
  EXPECT_EQ(Send(world, Wm::Activate, 0x00010000u), 0);
  EXPECT_FALSE(world.display.ScreenActive());
}

TEST(ScreenWindowProc, CloseIsSwallowedSoTheWindowStays) {
  DisplayWorld world;
  ASSERT_EQ(world.Open(), 1);
  const platform::Hwnd window = world.State().window;
  auto& windowing = world.host.Windowing();
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Close));
  EXPECT_EQ(world.display.PresentFrame(), 1);

  EXPECT_EQ(windowing.QueuedMessages(), 0u);
  ASSERT_NE(windowing.Window(window), nullptr);
  EXPECT_TRUE(windowing.Window(window)->visible);
  for (const platform::Msg& message : world.recorder.DefWindowProcMessages()) {
    EXPECT_NE(message.message, static_cast<uint32_t>(Wm::Close));
  }
  EXPECT_TRUE(world.State().screenOpen);
  EXPECT_TRUE(world.State().DeviceActive);
}

TEST(ScreenWindowProc, AnswersPaintEraseAndButtonsItself) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  auto send = [&](Wm message) { return Send(world, message); };

  EXPECT_EQ(send(Wm::Paint), 1);
  EXPECT_EQ(world.recorder.WindowCallCount(WindowCallKind::BeginPaint), 1u);
  EXPECT_EQ(world.recorder.WindowCallCount(WindowCallKind::EndPaint), 1u);
  EXPECT_EQ(send(Wm::EraseBkgnd), 1);
  for (Wm message : {Wm::Close, Wm::KeyUp, Wm::SysKeyUp, Wm::LButtonDown, Wm::LButtonUp,
                     Wm::RButtonDown, Wm::RButtonUp}) {
    EXPECT_EQ(send(message), 0);
  }
  EXPECT_TRUE(world.recorder.DefWindowProcMessages().empty());

  // Everything else, double clicks and mouse moves included, is the system's.
  send(Wm::LButtonDblClk);
  send(Wm::MouseMove);
  send(Wm::SysCommand);
  ASSERT_EQ(world.recorder.DefWindowProcMessages().size(), 3u);
  EXPECT_EQ(world.recorder.DefWindowProcMessages()[0].message,
            static_cast<uint32_t>(Wm::LButtonDblClk));
  EXPECT_EQ(world.recorder.DefWindowProcMessages()[2].message,
            static_cast<uint32_t>(Wm::SysCommand));
}

}  // namespace
}  // namespace drawing::display::testing
