#include "input_world.h"

namespace drawing::input::testing {
namespace {

class KeyboardTest : public InputWorld {
 protected:
  // Opens the keyboard and makes the first poll, with nothing held.
  void Ready() {
    ASSERT_EQ(keyboard().OpenKeyboard(), 1);
    ASSERT_EQ(keyboard().PollKeyboard(), 1);
  }
};

TEST_F(KeyboardTest, EscapeHeldReads128AndAnyKeyReadsOne) {
  Ready();
  devices.KeyDown(kKeyEscape);
  ASSERT_EQ(keyboard().PollKeyboard(), 1);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 128);
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 1);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyS), 0);
}

TEST_F(KeyboardTest, NothingHeldReadsZero) {
  Ready();
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
  EXPECT_EQ(keyboard().KeyIsDown(0), 0);
  EXPECT_EQ(keyboard().KeyIsDown(254), 0);
}

TEST_F(KeyboardTest, Code254CountsForAnyKey) {
  Ready();
  devices.KeyDown(254);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 1);
}

TEST_F(KeyboardTest, Code255IsIgnoredByAnyKeyTests) {
  Ready();
  devices.KeyDown(255);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyIsDown(255), 128);
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
  EXPECT_EQ(keyboard().KeyReleased(AnyKey), 0);
  devices.KeyUp(255);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(AnyKey), 0);
  EXPECT_EQ(keyboard().KeyLatch()[255], 0);
}

TEST_F(KeyboardTest, KeyTappedBetweenPollsIsNeverSeen) {
  Ready();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
  devices.KeyDown(kKeyS);
  devices.KeyUp(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyIsDown(kKeyS), 0);
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
}

TEST_F(KeyboardTest, ReleaseIsReportedOnce) {
  Ready();
  devices.KeyDown(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);  // seen held
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);  // still held
  devices.KeyUp(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 1);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
}

TEST_F(KeyboardTest, ReleaseIsOnlyReportedToATestThatSawTheKeyHeld) {
  Ready();
  devices.KeyDown(kKeyS);
  keyboard().PollKeyboard();
  keyboard().PollKeyboard();  // held for two frames, never asked about
  devices.KeyUp(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
}

TEST_F(KeyboardTest, AnyKeyReleaseClearsEveryReleasedLatch) {
  Ready();
  devices.KeyDown(kKeyS);
  devices.KeyDown(kKeyEscape);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
  EXPECT_EQ(keyboard().KeyReleased(kKeyEscape), 0);
  devices.KeyUp(kKeyS);
  devices.KeyUp(kKeyEscape);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(AnyKey), 1);
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
  EXPECT_EQ(keyboard().KeyReleased(kKeyEscape), 0);
}

TEST_F(KeyboardTest, AnyKeyReleaseLatchesHeldKeysForLaterTests) {
  Ready();
  devices.KeyDown(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(AnyKey), 0);  // latches S
  devices.KeyUp(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 1);
}

TEST_F(KeyboardTest, FocusLossAnswersZeroAndKeepsLatches) {
  Ready();
  devices.KeyDown(kKeyS);
  keyboard().PollKeyboard();
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);

  devices.SetFocus(false);
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardNeedsAcquire);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyS), 0);
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 0);
  devices.KeyUp(kKeyS);  // let go while another window has the focus
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().KeyReleased(AnyKey), 0);
  EXPECT_EQ(keyboard().KeyLatch()[kKeyS], 1);

  devices.SetFocus(true);
  EXPECT_EQ(keyboard().PollKeyboard(), 1);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardReady);
  EXPECT_EQ(keyboard().KeyReleased(kKeyS), 1);
}

TEST_F(KeyboardTest, EveryPollWhileUnfocusedBindsAndAcquiresAgain) {
  Ready();
  devices.SetFocus(false);
  keyboard().PollKeyboard();
  recorder.ClearInputCalls();
  keyboard().PollKeyboard();
  keyboard().PollKeyboard();
  EXPECT_EQ(
      recorder.InputCallsOf(InputCallKind::SetCooperativeLevel, DeviceGuid::SysKeyboard).size(),
      2u);
  const auto acquires = recorder.InputCallsOf(InputCallKind::Acquire, DeviceGuid::SysKeyboard);
  ASSERT_EQ(acquires.size(), 2u);
  EXPECT_EQ(acquires[0].result, DiResult::OtherAppHasPrio);
}

TEST_F(KeyboardTest, FirstPollBindsToTheScreenWindowNonExclusively) {
  ASSERT_EQ(keyboard().OpenKeyboard(), 1);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::SetCooperativeLevel).size(), 0u);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardNeedsAcquire);
  ASSERT_EQ(keyboard().PollKeyboard(), 1);
  const auto* device = devices.Device(DeviceGuid::SysKeyboard);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->CooperativeWindow(), screen.screenWindow);
  EXPECT_EQ(device->CooperativeFlags(), 0x16u);
  EXPECT_TRUE(device->Acquired());
  keyboard().PollKeyboard();
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::SetCooperativeLevel).size(), 1u);
}

TEST_F(KeyboardTest, FormatMatchesTheStandardKeyboardFormat) {
  ASSERT_EQ(keyboard().OpenKeyboard(), 1);
  const auto* device = devices.Device(DeviceGuid::SysKeyboard);
  ASSERT_NE(device, nullptr);
  const platform::DiDataFormat& format = device->DataFormat();
  EXPECT_EQ(format.dwSize, 24u);
  EXPECT_EQ(format.dwObjSize, 16u);
  EXPECT_EQ(format.dwFlags, 2u);
  EXPECT_EQ(format.dwDataSize, 256u);
  ASSERT_EQ(format.dwNumObjs, 256u);
  const auto& rows = device->FormatRows();
  for (uint32_t i = 0; i < 256; ++i) {
    EXPECT_EQ(rows[i].guid, platform::ObjectGuid::Key);
    EXPECT_EQ(rows[i].dwOfs, i);
    EXPECT_EQ(rows[i].dwType, 0x8000000Cu | (i << 8));
    EXPECT_EQ(rows[i].dwFlags, 0u);
  }
  // The rows live in the heap until it is destroyed.
  EXPECT_EQ(heap.LiveBytes(), 4096u);
}

TEST_F(KeyboardTest, SecondOpenKeepsTheDevice) {
  ASSERT_EQ(keyboard().OpenKeyboard(), 1);
  platform::InputDevice* first = keyboard().Device();
  EXPECT_NE(keyboard().OpenKeyboard(), 0);
  EXPECT_EQ(keyboard().Device(), first);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::CreateDeviceEx).size(), 1u);
  EXPECT_EQ(input.directInput.Users(), 2);
}

TEST_F(KeyboardTest, DeviceCreationFailureLeavesTheKeyboardAbsent) {
  devices.Faults(DeviceGuid::SysKeyboard).createDevice = true;
  EXPECT_EQ(keyboard().OpenKeyboard(), 0);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardAbsent);
  devices.KeyDown(kKeyEscape);
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
}

TEST_F(KeyboardTest, RefusedFormatLeavesTheKeyboardAbsentAndUntouched) {
  devices.Faults(DeviceGuid::SysKeyboard).setDataFormat = 1;
  EXPECT_EQ(keyboard().OpenKeyboard(), 0);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardAbsent);
  recorder.ClearInputCalls();
  devices.KeyDown(kKeyEscape);
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 0);
  EXPECT_TRUE(recorder.InputCalls().empty());
  // A later open retries on the same device.
  EXPECT_EQ(keyboard().OpenKeyboard(), 1);
  EXPECT_EQ(recorder.InputCallsOf(InputCallKind::CreateDeviceEx).size(), 0u);
  EXPECT_EQ(keyboard().PollKeyboard(), 1);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 128);
}

TEST_F(KeyboardTest, HeapRefusingTheFormatRowsFailsTheOpen) {
  heap.FailRequestsAbove(1024);
  EXPECT_EQ(keyboard().OpenKeyboard(), 0);
  EXPECT_EQ(keyboard().Status(), KeyboardStatus::KeyboardAbsent);
  EXPECT_EQ(keyboard().Device(), nullptr);
}

TEST_F(KeyboardTest, FailedReadsWithAnyCodeAnswerZeroUntilAReadSucceeds) {
  Ready();
  devices.KeyDown(kKeyEscape);
  devices.Faults(DeviceGuid::SysKeyboard).reads = 2;
  devices.Faults(DeviceGuid::SysKeyboard).readCode = DiResult::Fail;
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 0);
  EXPECT_EQ(keyboard().PollKeyboard(), 0);
  EXPECT_EQ(keyboard().PollKeyboard(), 1);
  EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 128);
}

TEST_F(KeyboardTest, CloseUnacquiresReleasesAndFreesDirectInput) {
  Ready();
  keyboard().CloseKeyboard();
  const auto* device = devices.Device(DeviceGuid::SysKeyboard);
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->Released());
  EXPECT_FALSE(device->Acquired());
  EXPECT_EQ(keyboard().Device(), nullptr);
  EXPECT_FALSE(devices.ObjectAlive());
  EXPECT_FALSE(devices.LibraryLoaded());
  EXPECT_EQ(input.directInput.Users(), 0);
}

TEST_F(KeyboardTest, CloseWithoutOpenDoesNothing) {
  keyboard().CloseKeyboard();
  EXPECT_EQ(input.directInput.Users(), 0);
  EXPECT_TRUE(recorder.InputCalls().empty());
}

TEST_F(KeyboardTest, WithoutDirectInputEveryTestAnswersZero) {
  devices.FailLoadLibrary(true);
  EXPECT_EQ(keyboard().OpenKeyboard(), 0);
  devices.KeyDown(kKeyEscape);
  for (uint32_t frame = 1; frame <= 3; ++frame) {
    EXPECT_EQ(keyboard().PollKeyboard(), 0);
    EXPECT_EQ(keyboard().KeyIsDown(kKeyEscape), 0);
    EXPECT_EQ(keyboard().KeyIsDown(AnyKey), 0);
    EXPECT_EQ(keyboard().KeyReleased(AnyKey), 0);
  }
  EXPECT_EQ(input.directInput.Users(), 1);
  keyboard().CloseKeyboard();
  EXPECT_EQ(input.directInput.Users(), 0);
}

// Before the keyboard is ready a release build answers 0 without reading.
TEST_F(KeyboardTest, KeyCodesOutOfRangeBreakADebugContract) {
  EXPECT_DEBUG_DEATH(keyboard().KeyIsDown(256), "");
  EXPECT_DEBUG_DEATH(keyboard().KeyReleased(-2), "");
}

}  // namespace
}  // namespace drawing::input::testing
