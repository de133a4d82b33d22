// The headless host as a whole: the platform it hands out, and the frame
// timeline of device faults, input and activation that BeginFrame plays.
#include <gtest/gtest.h>

#include <vector>

#include "platform/soft/direct3d/device_fixture.h"

namespace drawing::platform::testing {
namespace {

using headless::CallFailureEvent;
using headless::CooperativeCodesEvent;
using headless::DeviceLossEvent;
using headless::FaultyCall;
using headless::HeadlessConfig;
using headless::InputEvent;
using headless::InputScriptEvent;

struct Activations {
  std::vector<uintptr_t> states;
};

intptr_t ActivationProc(void* context, Hwnd, uint32_t message, uintptr_t wParam, intptr_t) {
  if (message == static_cast<uint32_t>(Wm::Activate)) {
    static_cast<Activations*>(context)->states.push_back(wParam);
  }
  return 0;
}

// Waits for a lost device the way the display does: 1 ms sleeps for at most
// 32 ms of the clock.
D3dResult WaitForLostDevice(System& system, Device& device) {
  const uint32_t start = system.GetTickCount();
  D3dResult code = D3dResult::DeviceLost;
  do {
    system.Sleep(1);
    code = device.TestCooperativeLevel();
  } while (code == D3dResult::DeviceLost && system.GetTickCount() - start < 32);
  return code;
}

class HeadlessHostTest : public DeviceTest {
 protected:
  explicit HeadlessHostTest(HeadlessConfig config = {}) : DeviceTest(std::move(config)) {}
};

TEST_F(HeadlessHostTest, PlatformHandsOutTheHostsOwnPorts) {
  Platform platform = host.GetPlatform();
  EXPECT_EQ(&platform.system, &host.System());
  EXPECT_EQ(&platform.windowing, &host.Windowing());
  EXPECT_EQ(&platform.direct3d, &host.Direct3D());
  EXPECT_EQ(&platform.gdi, &host.Gdi());
  EXPECT_EQ(&platform.directInput, &host.Input());
  EXPECT_EQ(&platform.files, &host.Files());
}

class ScriptedLossTest : public HeadlessHostTest {
 protected:
  static HeadlessConfig Script() {
    HeadlessConfig config;
    config.deviceLosses = {DeviceLossEvent{2, 100}, DeviceLossEvent{4, 5}};
    return config;
  }
  ScriptedLossTest() : HeadlessHostTest(Script()) {}
};

TEST_F(ScriptedLossTest, ALossLongerThanTheWaitOutlastsIt) {
  Open();
  host.BeginFrame(1);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  host.BeginFrame(2);
  const uint32_t start = host.System().Now();
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceLost);
  EXPECT_EQ(WaitForLostDevice(host.System(), *device), D3dResult::DeviceLost);
  EXPECT_EQ(host.System().Now() - start, 32u);
}

TEST_F(ScriptedLossTest, AShortLossBecomesResettableWithinTheWait) {
  Open();
  host.BeginFrame(4);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceLost);
  EXPECT_EQ(WaitForLostDevice(host.System(), *device), D3dResult::DeviceNotReset);
  PresentParameters parameters = Soft().Parameters();
  EXPECT_EQ(device->Reset(&parameters), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.Display().LastFrame()->frame, 4);
}

class ScriptedCallsTest : public HeadlessHostTest {
 protected:
  static HeadlessConfig Script() {
    HeadlessConfig config;
    config.cooperativeCodes = {CooperativeCodesEvent{3, {D3dResult::DriverInternalError}}};
    config.failures = {CallFailureEvent{2, FaultyCall::Present, 2, D3dResult::DeviceLost},
                       CallFailureEvent{0, FaultyCall::CreateTexture, headless::kFailAlways,
                                        D3dResult::OutOfVideoMemory}};
    return config;
  }
  ScriptedCallsTest() : HeadlessHostTest(Script()) {}
};

TEST_F(ScriptedCallsTest, EventsTakeEffectWhenTheirFrameBegins) {
  Open();
  Texture* texture = nullptr;
  // Frame 0 events apply from the start, every time.
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::OutOfVideoMemory);
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::OutOfVideoMemory);
  host.BeginFrame(1);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  host.BeginFrame(2);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  host.BeginFrame(3);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::DriverInternalError);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  EXPECT_EQ(host.Display().PresentedCount(), 2u);
}

class ScriptedInputTest : public HeadlessHostTest {
 protected:
  static HeadlessConfig Script() {
    HeadlessConfig config;
    config.input = {InputScriptEvent{2, InputEvent::KeyDown(31)},
                    InputScriptEvent{3, InputEvent::Focus(false)},
                    InputScriptEvent{5, InputEvent::Focus(true)}};
    return config;
  }
  ScriptedInputTest() : HeadlessHostTest(Script()) {}

  Hwnd ScreenWindow() {
    WndClassEx windowClass;
    windowClass.windowProc = ActivationProc;
    windowClass.context = &activations;
    windowClass.className = "screen";
    host.Windowing().RegisterClassEx(windowClass);
    return host.Windowing().CreateWindowEx(0, "screen", "", 0, 0, 0, 1, 1, nullptr);
  }
  void Pump() {
    Msg msg;
    while (host.Windowing().PeekMessage(&msg)) {
      host.Windowing().DispatchMessage(msg);
    }
  }

  Activations activations;
};

TEST_F(ScriptedInputTest, InputEventsBecomeVisibleInTheirFrame) {
  host.BeginFrame(1);
  EXPECT_FALSE(host.Input().KeyHeld(31));
  host.BeginFrame(2);
  EXPECT_TRUE(host.Input().KeyHeld(31));
}

TEST_F(ScriptedInputTest, FocusChangesArePostedToTheScreenWindow) {
  const Hwnd window = ScreenWindow();
  host.Windowing().ShowWindow(window, ShowCommand::ShowMaximized);
  ASSERT_EQ(activations.states.size(), 1u);
  host.BeginFrame(3);
  EXPECT_FALSE(host.Input().Focused());
  EXPECT_EQ(activations.states.size(), 1u);  // posted, not yet dispatched
  Pump();
  ASSERT_EQ(activations.states.size(), 2u);
  EXPECT_EQ(activations.states[1], static_cast<uintptr_t>(WindowActivation::Inactive));
  host.BeginFrame(4);
  host.BeginFrame(5);
  Pump();
  ASSERT_EQ(activations.states.size(), 3u);
  EXPECT_EQ(activations.states[2], static_cast<uintptr_t>(WindowActivation::Active));
  EXPECT_TRUE(host.Input().Focused());
}

TEST_F(ScriptedInputTest, HidingTheWindowTakesTheInputFocus) {
  const Hwnd window = ScreenWindow();
  host.Windowing().ShowWindow(window, ShowCommand::ShowMaximized);
  host.Windowing().ShowWindow(window, ShowCommand::Hide);
  EXPECT_FALSE(host.Input().Focused());
  // Only the messages the window system sent; nothing was posted on top.
  EXPECT_EQ(host.Windowing().QueuedMessages(), 0u);
}

TEST_F(HeadlessHostTest, FramesAreStampedAndTheOldestDroppedBeyondTheLimit) {
  host.Display().Config().keptFrames = 2;
  Open(Format::X8R8G8B8, 4, 4);
  for (int32_t frame = 1; frame <= 3; ++frame) {
    host.BeginFrame(frame);
    device->Clear(0, nullptr, ClearFlag::Target, static_cast<uint32_t>(frame), 0.0f, 0);
    EXPECT_EQ(device->Present(), D3dResult::Ok);
  }
  ASSERT_EQ(host.Display().Frames().size(), 2u);
  EXPECT_EQ(host.Display().Frames()[0].frame, 2);
  EXPECT_EQ(host.Display().Frames()[0].sequence, 2u);
  EXPECT_EQ(host.Display().Frames()[1].Pixel(3, 3), 3u);
  EXPECT_EQ(host.Display().PresentedCount(), 3u);
}

TEST_F(HeadlessHostTest, TheKeptScreenFollowsAResetToAnotherSize) {
  host.Display().Config().keptFrames = 1;
  Open(Format::X8R8G8B8, 4, 4);
  device->Clear(0, nullptr, ClearFlag::Target, 0x00112233u, 0.0f, 0);
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  PresentParameters parameters = FullScreen(6, 2, Format::X8R8G8B8, Window());
  ASSERT_EQ(device->Reset(&parameters), D3dResult::Ok);
  const Rect corner{5, 1, 6, 2};
  device->Clear(1, &corner, ClearFlag::Target, 0x00445566u, 0.0f, 0);
  ASSERT_EQ(device->Present(), D3dResult::Ok);

  ASSERT_EQ(host.Display().Frames().size(), 1u);
  const headless::PresentedFrame& screen = *host.Display().LastFrame();
  EXPECT_EQ(screen.width, 6u);
  EXPECT_EQ(screen.height, 2u);
  EXPECT_EQ(screen.pixels.size(), 6u * 2u * 4u);
  EXPECT_EQ(screen.Pixel(0, 0), 0u);
  EXPECT_EQ(screen.Pixel(5, 1), 0x00445566u);
  EXPECT_EQ(screen.sequence, 2u);
}

}  // namespace
}  // namespace drawing::platform::testing
