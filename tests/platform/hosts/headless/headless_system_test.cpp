// The headless system: a clock that moves only when the program sleeps or
// presents, balanced timer periods, thread-local slots.
#include <gtest/gtest.h>

#include "platform/hosts/headless/headless_system.h"
#include "platform/soft/direct3d/device_fixture.h"

namespace drawing::platform::testing {
namespace {

using headless::HeadlessSystem;

TEST(HeadlessSystem, ClockMovesOnlyThroughSleep) {
  HeadlessSystem system(headless::SystemConfig{1000, 7, false});
  EXPECT_EQ(system.GetTickCount(), 1000u);
  EXPECT_EQ(system.GetTickCount(), 1000u);
  system.Sleep(1);
  system.Sleep(5);
  EXPECT_EQ(system.GetTickCount(), 1006u);
  EXPECT_EQ(system.SleepCalls(), 2u);
  EXPECT_EQ(system.SleptMilliseconds(), 6u);
  EXPECT_EQ(system.GetCurrentThreadId(), 7u);
}

TEST(HeadlessSystem, ClockWrapsLikeTheTickCount) {
  HeadlessSystem system(headless::SystemConfig{0xFFFFFFF0u, 1, false});
  system.Sleep(0x20);
  EXPECT_EQ(system.GetTickCount(), 0x10u);
}

TEST(HeadlessSystem, TimerPeriodsAreCountedAndMustBalance) {
  HeadlessSystem system;
  EXPECT_EQ(system.timeEndPeriod(1), HeadlessSystem::kTimerNoCando);
  EXPECT_EQ(system.timeBeginPeriod(1), 0u);
  EXPECT_EQ(system.OpenTimePeriods(), 1);
  EXPECT_EQ(system.timeEndPeriod(2), HeadlessSystem::kTimerNoCando);
  EXPECT_EQ(system.timeEndPeriod(1), 0u);
  EXPECT_EQ(system.OpenTimePeriods(), 0);
  EXPECT_EQ(system.TimeBeginPeriodCalls(), 1u);
  EXPECT_EQ(system.TimeEndPeriodCalls(), 3u);
  EXPECT_EQ(system.timeBeginPeriod(0), HeadlessSystem::kTimerNoCando);
}

TEST(HeadlessSystem, ThreadLocalSlotsHoldTheirValues) {
  HeadlessSystem system;
  const uint32_t first = system.TlsAlloc();
  const uint32_t second = system.TlsAlloc();
  EXPECT_NE(first, second);
  int value = 0;
  EXPECT_TRUE(system.TlsSetValue(second, &value));
  EXPECT_EQ(system.TlsGetValue(second), &value);
  EXPECT_EQ(system.TlsGetValue(first), nullptr);
  EXPECT_FALSE(system.TlsSetValue(99, &value));
  system.FailTlsAlloc(true);
  EXPECT_EQ(system.TlsAlloc(), HeadlessSystem::kTlsOutOfIndexes);
}

class PresentClockTest : public DeviceTest {};

TEST_F(PresentClockTest, EachPresentedFrameAdvancesTheClockByAFrameTime) {
  Open();
  const uint32_t start = host.System().Now();
  device->Clear(0, nullptr, ClearFlag::Target, 0, 0.0f, 0);
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  EXPECT_EQ(host.System().Now(), start);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.System().Now(), start + 32);
  EXPECT_EQ(host.Display().Frames()[1].tick, start + 16);
  // A refused presentation shows nothing and waits for nothing.
  host.Faults().Fail(headless::FaultyCall::Present, 1);
  EXPECT_TRUE(Failed(device->Present()));
  EXPECT_EQ(host.System().Now(), start + 32);
}

}  // namespace
}  // namespace drawing::platform::testing
