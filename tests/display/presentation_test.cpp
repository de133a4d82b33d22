// PresentFrame: the message pump, the activation gate, waiting for and
// resetting a lost device, and the scene bracket.
#include <gtest/gtest.h>

#include <vector>

#include "display_world.h"

namespace drawing::display::testing {
namespace {

using platform::D3dResult;
using platform::Wm;
using platform::headless::FaultyCall;

class PresentFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(world.Open(320, 240, 32), 1); }

  void LoseDevice(uint32_t forMs) {
    world.host.Faults().LoseDevice(world.host.System().Now(), forMs);
  }
  void QueueCodes(const std::vector<D3dResult>& codes) {
    world.host.Faults().QueueCooperativeCodes(codes);
  }
  void Activate(bool active) { world.host.Windowing().PostActivation(active); }
  uint32_t Presented() { return world.host.Display().PresentedCount(); }

  DisplayWorld world;
};

TEST_F(PresentFrameTest, PresentsAFrameWithoutWaiting) {
  const uint32_t sleeps = world.host.System().SleepCalls();
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(Presented(), 1u);
  EXPECT_EQ(world.Calls(DeviceCallKind::TestCooperativeLevel), 1u);
  EXPECT_EQ(world.host.System().SleepCalls(), sleeps);
  EXPECT_TRUE(world.display.ScreenActive());
}

TEST_F(PresentFrameTest, WhileInactiveNeitherTestsNorPresents) {
  Activate(false);
  const uint32_t before = world.host.System().Now();
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.Calls(DeviceCallKind::TestCooperativeLevel), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::Present), 0u);
  EXPECT_EQ(world.host.System().Now(), before);

  Activate(true);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(Presented(), 1u);
}

TEST_F(PresentFrameTest, ALossLongerThanTheWaitGivesUpAfter32Milliseconds) {
  LoseDevice(100);
  const uint32_t before = world.host.System().Now();
  EXPECT_EQ(world.display.PresentFrame(), 0);
  EXPECT_EQ(world.host.System().Now() - before, 32u);
  EXPECT_EQ(world.host.System().SleepCalls(), 32u);
  EXPECT_FALSE(world.display.ScreenActive());
  EXPECT_EQ(world.Calls(DeviceCallKind::Present), 0u);

  // Until the window is activated again, frames pass without a test.
  const uint32_t tests = world.Calls(DeviceCallKind::TestCooperativeLevel);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.Calls(DeviceCallKind::TestCooperativeLevel), tests);

  // The loss is over by the time the user comes back: reset and present.
  world.host.System().Advance(100);
  Activate(true);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 1u);
  EXPECT_EQ(Presented(), 1u);
  EXPECT_TRUE(world.display.ScreenActive());
}

TEST_F(PresentFrameTest, ADeviceReadyForResetWithinTheWaitIsResetAndPresented) {
  ASSERT_NE(world.display.NewSprite(0, 320, 240), nullptr);
  world.display.ShowSprite(0, 0, 0);
  LoseDevice(10);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.host.System().SleepCalls(), 10u);
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 1u);
  EXPECT_EQ(Presented(), 1u);
  EXPECT_TRUE(world.display.ScreenActive());
  // The held back buffer is the reset device's new one.
  EXPECT_EQ(world.display.BackBuffer(), &world.Device().BackBuffer());
  // The sprite is still there and its managed texture kept its picture.
  world.display.ClearBackBuffer(0xFFFFFF);
  world.display.ShowSprite(0, 0, 0);
  EXPECT_EQ(world.BackBufferPixel(5, 5) & 0xFFFFFFu, 0u);
}

TEST_F(PresentFrameTest, ADeviceBackWithinTheWaitIsPresentedWithoutReset) {
  QueueCodes({D3dResult::DeviceLost, D3dResult::DeviceLost, D3dResult::Ok});
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.host.System().SleepCalls(), 2u);
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 0u);
  EXPECT_EQ(Presented(), 1u);
  EXPECT_TRUE(world.display.ScreenActive());
}

TEST_F(PresentFrameTest, ADriverInternalErrorEndsTheCallWithoutPresenting) {
  QueueCodes({D3dResult::DriverInternalError});
  EXPECT_EQ(world.display.PresentFrame(), 0);
  EXPECT_FALSE(world.display.ScreenActive());
  EXPECT_EQ(world.Calls(DeviceCallKind::Present), 0u);

  Activate(true);
  QueueCodes({D3dResult::DeviceLost, D3dResult::DeviceLost, D3dResult::DriverInternalError});
  EXPECT_EQ(world.display.PresentFrame(), 0);
  EXPECT_FALSE(world.display.ScreenActive());
  EXPECT_EQ(world.Calls(DeviceCallKind::Present), 0u);
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 0u);
}

TEST_F(PresentFrameTest, AFailedResetLeavesNoBackBufferUntilTheNextReset) {
  LoseDevice(0);
  world.host.Faults().Fail(FaultyCall::Reset, 1);
  EXPECT_EQ(world.display.PresentFrame(), 0);
  EXPECT_FALSE(world.display.ScreenActive());
  EXPECT_EQ(world.display.BackBuffer(), nullptr);
  EXPECT_EQ(world.Calls(DeviceCallKind::Present), 0u);

  Activate(true);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.Calls(DeviceCallKind::Reset), 2u);
  EXPECT_EQ(world.display.BackBuffer(), &world.Device().BackBuffer());
  EXPECT_EQ(Presented(), 1u);
}

TEST_F(PresentFrameTest, AFailedPresentStopsPresentingUntilActivation) {
  world.host.Faults().Fail(FaultyCall::Present, 1);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_FALSE(world.display.ScreenActive());
  const uint32_t tests = world.Calls(DeviceCallKind::TestCooperativeLevel);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(world.Calls(DeviceCallKind::TestCooperativeLevel), tests);
  Activate(true);
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(Presented(), 1u);
}

TEST_F(PresentFrameTest, RenderStatesAreSetAgainAfterAReset) {
  ASSERT_NE(world.display.NewSprite(0, 32, 32), nullptr);
  auto frame = [&] {
    const uint32_t states = world.Calls(DeviceCallKind::SetRenderState);
    const uint32_t fvf = world.Calls(DeviceCallKind::SetFVF);
    world.display.ShowSprite(0, 0, 0);
    world.display.PresentFrame();
    return std::vector<uint32_t>{world.Calls(DeviceCallKind::SetRenderState) - states,
                                 world.Calls(DeviceCallKind::SetFVF) - fvf};
  };
  EXPECT_EQ(frame(), (std::vector<uint32_t>{3, 1}));
  EXPECT_EQ(frame(), (std::vector<uint32_t>{0, 0}));
  LoseDevice(0);
  world.display.PresentFrame();
  ASSERT_EQ(world.Calls(DeviceCallKind::Reset), 1u);
  EXPECT_EQ(frame(), (std::vector<uint32_t>{3, 1}));
  EXPECT_EQ(world.Device().RenderStateValue(platform::RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(world.Device().Fvf(), 0x104u);
}

TEST_F(PresentFrameTest, AFrameWithoutASceneIsPresentedWithoutEndScene) {
  world.display.PresentFrame();
  EXPECT_EQ(world.Calls(DeviceCallKind::EndScene), 0u);
  EXPECT_EQ(Presented(), 1u);

  ASSERT_NE(world.display.NewSprite(0, 32, 32), nullptr);
  world.display.ShowSprite(0, 0, 0);
  EXPECT_TRUE(world.State().SceneOpen);
  world.display.PresentFrame();
  EXPECT_EQ(world.Calls(DeviceCallKind::EndScene), 1u);
  EXPECT_FALSE(world.State().SceneOpen);
  EXPECT_EQ(Presented(), 2u);
}

TEST_F(PresentFrameTest, QuitIsDispatchedLikeAnyOtherMessage) {
  auto& windowing = world.host.Windowing();
  const platform::Hwnd window = world.State().window;
  const size_t delivered = world.recorder.DeliveredMessages().size();
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Quit));
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Paint));
  EXPECT_EQ(world.display.PresentFrame(), 1);
  EXPECT_EQ(windowing.QueuedMessages(), 0u);
  ASSERT_EQ(world.recorder.DeliveredMessages().size(), delivered + 2);
  EXPECT_EQ(world.recorder.DeliveredMessages()[delivered].message, static_cast<uint32_t>(Wm::Quit));
  EXPECT_EQ(world.recorder.WindowCallCount(WindowCallKind::TranslateMessage), 2u);
  EXPECT_EQ(world.recorder.WindowCallCount(WindowCallKind::BeginPaint), 1u);
  EXPECT_EQ(Presented(), 1u);
}

TEST(Scene, IsBegunOnceByTheFirstSpriteAndEndedOnce) {
  DisplayWorld world;
  world.display.ShowSprite(0, 0, 0);  // no device, no sprite yet
  ASSERT_EQ(world.Open(), 1);
  ASSERT_NE(world.display.NewSprite(0, 8, 8), nullptr);
  world.display.ShowSprite(0, 0, 0);
  world.display.ShowSprite(0, 10, 0);
  EXPECT_EQ(world.Calls(DeviceCallKind::BeginScene), 1u);
  EXPECT_EQ(world.Calls(DeviceCallKind::DrawPrimitiveUP), 2u);
  world.display.EndSceneIfOpen();
  world.display.EndSceneIfOpen();
  EXPECT_EQ(world.Calls(DeviceCallKind::EndScene), 1u);
  EXPECT_FALSE(world.Device().InScene());
}

}  // namespace
}  // namespace drawing::display::testing
