#include <limits>

#include "input_world.h"

namespace drawing::input::testing {
namespace {

using MouseTest = InputWorld;

TEST_F(MouseTest, OpenCreatesTheDeviceWithTheStandardMouseFormat) {
  ASSERT_EQ(mouse().OpenMouse(), 1);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseNeedsSetup);
  const auto* device = devices.Device(DeviceGuid::SysMouse);
  ASSERT_NE(device, nullptr);
  const platform::DiDataFormat& format = device->DataFormat();
  EXPECT_EQ(format.dwSize, 24u);
  EXPECT_EQ(format.dwObjSize, 16u);
  EXPECT_EQ(format.dwFlags, 2u);
  EXPECT_EQ(format.dwDataSize, 16u);
  ASSERT_EQ(format.dwNumObjs, 7u);
  const auto& rows = device->FormatRows();
  const uint32_t offsets[7] = {0, 4, 8, 12, 13, 14, 15};
  const uint32_t types[7] = {0x00FFFF03u, 0x00FFFF03u, 0x80FFFF03u, 0x00FFFF0Cu,
                             0x00FFFF0Cu, 0x80FFFF0Cu, 0x80FFFF0Cu};
  const platform::ObjectGuid guids[3] = {platform::ObjectGuid::XAxis, platform::ObjectGuid::YAxis,
                                         platform::ObjectGuid::ZAxis};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(rows[i].dwOfs, offsets[i]) << i;
    EXPECT_EQ(rows[i].dwType, types[i]) << i;
    EXPECT_EQ(rows[i].dwFlags, 0u) << i;
    EXPECT_EQ(rows[i].guid, i < 3 ? guids[i] : platform::ObjectGuid::None) << i;
  }
  // No cooperative level yet: the screen window does not exist at this point.
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::SetCooperativeLevel).empty());
}

TEST_F(MouseTest, FirstPollBindsExclusivelyWithA24RecordBuffer) {
  Open();
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseReady);
  const auto& calls = recorder.InputCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, InputCallKind::SetCooperativeLevel);
  EXPECT_EQ(calls[0].value, 5u);
  EXPECT_EQ(calls[1].kind, InputCallKind::SetProperty);
  EXPECT_EQ(calls[1].value, 24u);
  EXPECT_EQ(calls[2].kind, InputCallKind::Acquire);
  EXPECT_EQ(calls[3].kind, InputCallKind::GetDeviceData);
  const auto* device = devices.Device(DeviceGuid::SysMouse);
  EXPECT_EQ(device->CooperativeWindow(), screen.screenWindow);
  EXPECT_EQ(device->BufferSize(), 24u);
}

TEST_F(MouseTest, MotionBeforeTheFirstPollIsNeverReported) {
  Open();
  devices.Move(40, 40);
  devices.Button(1, true);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseMoveY(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  devices.Move(2, 0);
  Frame(1);
  EXPECT_EQ(mouse().MouseMoveX(), 2);
}

TEST_F(MouseTest, MotionIsSummedPerFrame) {
  OpenAndBind();
  devices.AddEvent(1, InputEvent::Move(3, 0));
  devices.AddEvent(1, InputEvent::Move(-1, 5));
  Frame(1);
  EXPECT_EQ(mouse().MouseMoveX(), 2);
  EXPECT_EQ(mouse().MouseMoveY(), 5);
  Frame(2);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseMoveY(), 0);
}

TEST_F(MouseTest, SumsPastTheIntegerRangeStopAtItsEndsWithTheirSign) {
  OpenAndBind();
  constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
  constexpr int32_t kLeast = std::numeric_limits<int32_t>::min();
  devices.AddEvent(1, InputEvent::Move(kMost, kLeast));
  devices.AddEvent(1, InputEvent::Move(1, -1));
  Frame(1);
  EXPECT_EQ(mouse().MouseMoveX(), kMost);
  EXPECT_EQ(mouse().MouseMoveY(), kLeast);
}

TEST_F(MouseTest, LeftAndUpAreNegative) {
  OpenAndBind();
  devices.Move(-50, -50);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), -50);
  EXPECT_EQ(mouse().MouseMoveY(), -50);
}

TEST_F(MouseTest, QuietFrameReadsZeroMovesAndKeepsButtons) {
  OpenAndBind();
  devices.Button(1, true);
  devices.Button(3, true);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 1);
  EXPECT_EQ(mouse().MouseButtonDown(2), 0);
  EXPECT_EQ(mouse().MouseButtonDown(3), 1);
}

TEST_F(MouseTest, ClickInsideOneFrameNeverReadsAsHeld) {
  OpenAndBind();
  devices.Button(1, true);
  devices.Button(1, false);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
}

TEST_F(MouseTest, EachButtonHasItsOwnFlag) {
  OpenAndBind();
  devices.Button(2, true);
  mouse().PollMouse();
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  EXPECT_EQ(mouse().MouseButtonDown(2), 1);
  devices.Button(2, false);
  devices.Button(3, true);
  mouse().PollMouse();
  EXPECT_EQ(mouse().MouseButtonDown(2), 0);
  EXPECT_EQ(mouse().MouseButtonDown(3), 1);
}

TEST_F(MouseTest, WheelAndFourthButtonHaveNoEffect) {
  OpenAndBind();
  devices.Wheel(120);
  devices.Button(4, true);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseMoveY(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  EXPECT_EQ(mouse().MouseButtonDown(2), 0);
  EXPECT_EQ(mouse().MouseButtonDown(3), 0);
}

TEST_F(MouseTest, TwentyFourRecordsAreReadInOnePoll) {
  OpenAndBind();
  for (int i = 0; i < 24; ++i) {
    devices.Move(1, 0);
  }
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 24);
}

TEST_F(MouseTest, OverflowDropsMotionAndLiftsTheLeftAndRightButtons) {
  OpenAndBind();
  devices.Button(1, true);
  devices.Button(2, true);
  devices.Button(3, true);
  mouse().PollMouse();
  for (int i = 0; i < 25; ++i) {
    devices.Move(1, 1);  // two records each
  }
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseMoveY(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  EXPECT_EQ(mouse().MouseButtonDown(2), 0);
  EXPECT_EQ(mouse().MouseButtonDown(3), 1);
  // Still physically held, but up until their next event.
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  devices.Button(1, true);
  mouse().PollMouse();
  EXPECT_EQ(mouse().MouseButtonDown(1), 1);
}

TEST_F(MouseTest, TwentyFiveRecordsOverflow) {
  OpenAndBind();
  for (int i = 0; i < 25; ++i) {
    devices.Move(1, 0);
  }
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
}

TEST_F(MouseTest, UnfocusedPollReadsNothingAndKeepsButtons) {
  OpenAndBind();
  devices.Button(1, true);
  Frame(1);
  devices.SetFocus(false);
  EXPECT_FALSE(screen.active);
  EXPECT_EQ(mouse().ScreenHasFocus(), 0);
  devices.Move(5, 5);
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseMoveY(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 1);
  // The poll only lets go of the device.
  ASSERT_EQ(recorder.InputCalls().size(), 1u);
  EXPECT_EQ(recorder.InputCalls()[0].kind, InputCallKind::Unacquire);
}

TEST_F(MouseTest, FocusComingBackReacquiresThenReadsNextFrame) {
  OpenAndBind();
  devices.AddEvent(1, InputEvent::Focus(false));
  devices.AddEvent(2, InputEvent::Focus(true));
  devices.AddEvent(2, InputEvent::Move(7, 0));  // before re-acquisition: lost
  Frame(1);
  EXPECT_EQ(mouse().PollMouse(), 0);
  Frame(2);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_TRUE(devices.Device(DeviceGuid::SysMouse)->Acquired());
  devices.AddEvent(3, InputEvent::Move(4, 0));
  devices.BeginFrame(3);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 4);
}

TEST_F(MouseTest, FirstPollAfterFocusReturnsZero) {
  OpenAndBind();
  devices.SetFocus(false);
  mouse().PollMouse();
  devices.SetFocus(true);
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().PollMouse(), 1);
}

TEST_F(MouseTest, LostAcquisitionIsRecoveredWhileFocused) {
  OpenAndBind();
  // The device lost its acquisition on its own, e.g. to another program.
  mouse().Device()->Unacquire();
  devices.Move(3, 0);
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  devices.Move(3, 0);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 3);
}

TEST_F(MouseTest, InputLostReadFaultReacquires) {
  OpenAndBind();
  devices.Faults(DeviceGuid::SysMouse).reads = 1;
  devices.Faults(DeviceGuid::SysMouse).readCode = DiResult::InputLost;
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::Acquire).size(), 1u);
}

TEST_F(MouseTest, OtherReadFailuresAreNotRecovered) {
  OpenAndBind();
  devices.Button(3, true);
  mouse().PollMouse();
  devices.Faults(DeviceGuid::SysMouse).reads = 1;
  devices.Faults(DeviceGuid::SysMouse).readCode = DiResult::Fail;
  devices.Move(9, 9);
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(3), 1);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::Acquire).empty());
  // The records stay queued for the next read.
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 9);
}

TEST_F(MouseTest, SetupFailureIsRetriedAtEveryPoll) {
  Open();
  devices.Faults(DeviceGuid::SysMouse).setProperty = 2;
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseNeedsSetup);
  // The sequence stops at the failing call; the read still happens, and its
  // not-acquired answer leaves the device alone: acquired, it would refuse
  // the set-up calls of the next poll (as DirectInput does).
  std::vector<InputCallKind> kinds;
  for (const auto& call : recorder.InputCalls()) {
    kinds.push_back(call.kind);
  }
  const std::vector<InputCallKind> expected = {
      InputCallKind::SetCooperativeLevel, InputCallKind::SetProperty, InputCallKind::GetDeviceData};
  EXPECT_EQ(kinds, expected);
  EXPECT_FALSE(devices.Device(DeviceGuid::SysMouse)->Acquired());
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseNeedsSetup);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseReady);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::SetCooperativeLevel).size(), 3u);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::SetProperty).size(), 3u);
  devices.Move(1, 0);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().MouseMoveX(), 1);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::SetProperty).size(), 3u);
}

TEST_F(MouseTest, FailingAcquireInSetupIsRetried) {
  Open();
  devices.Faults(DeviceGuid::SysMouse).acquire = 1;
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseNeedsSetup);
  EXPECT_EQ(mouse().PollMouse(), 1);
  EXPECT_EQ(mouse().Status(), MouseStatus::MouseReady);
}

TEST_F(MouseTest, UnacquireMouseLetsGoOfTheDevice) {
  OpenAndBind();
  mouse().UnacquireMouse();
  EXPECT_FALSE(devices.Device(DeviceGuid::SysMouse)->Acquired());
}

TEST_F(MouseTest, CloseLiftsTheCursorClipAndReleases) {
  OpenAndBind();
  mouse().CloseMouse();
  ASSERT_EQ(windowing.clipCalls.size(), 1u);
  EXPECT_TRUE(windowing.clipCalls[0]);
  EXPECT_TRUE(devices.Device(DeviceGuid::SysMouse)->Released());
  EXPECT_EQ(mouse().Device(), nullptr);
  EXPECT_EQ(input.directInput.Users(), 1);  // the keyboard still holds DirectInput
  EXPECT_TRUE(devices.ObjectAlive());
}

TEST_F(MouseTest, CloseWithoutOpenDoesNothing) {
  mouse().CloseMouse();
  EXPECT_TRUE(windowing.clipCalls.empty());
  EXPECT_EQ(input.directInput.Users(), 0);
}

TEST_F(MouseTest, DeviceCreationFailureLeavesEveryQueryAtZero) {
  keyboard().OpenKeyboard();
  devices.Faults(DeviceGuid::SysMouse).createDevice = true;
  EXPECT_EQ(mouse().OpenMouse(), 0);
  recorder.ClearInputCalls();
  devices.Move(10, 10);
  devices.Button(1, true);
  EXPECT_EQ(mouse().PollMouse(), 0);
  mouse().UnacquireMouse();
  EXPECT_EQ(mouse().MouseMoveX(), 0);
  EXPECT_EQ(mouse().MouseButtonDown(1), 0);
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::GetDeviceData).empty());
  EXPECT_TRUE(recorder.InputCallsOf(InputCallKind::Unacquire).empty());
  Shutdown();
  EXPECT_EQ(windowing.clipCalls.size(), 1u);
  EXPECT_EQ(input.directInput.Users(), 0);
}

TEST_F(MouseTest, RefusedFormatLeavesTheMouseUntouchedByPolls) {
  devices.Faults(DeviceGuid::SysMouse).setDataFormat = 1;
  EXPECT_EQ(mouse().OpenMouse(), 0);
  recorder.ClearInputCalls();
  EXPECT_EQ(mouse().PollMouse(), 0);
  EXPECT_TRUE(recorder.InputCalls().empty());
  mouse().CloseMouse();
  EXPECT_TRUE(devices.Device(DeviceGuid::SysMouse)->Released());
}

}  // namespace
}  // namespace drawing::input::testing
