// Time, thread and thread-local services of the hosts on a real display.
#include <gtest/gtest.h>

#include <thread>

#include "platform/soft/kit/steady_system.h"

namespace drawing::platform::soft {
namespace {

TEST(SteadySystem, TimerResolutionCallsSucceed) {
  SteadySystem system;
  EXPECT_EQ(system.timeBeginPeriod(1), 0u);
  EXPECT_EQ(system.timeEndPeriod(1), 0u);
}

TEST(SteadySystem, TheThreadIdIsTheCallersAndDiffersBetweenThreads) {
  SteadySystem system;
  const uint32_t here = system.GetCurrentThreadId();
  EXPECT_EQ(system.GetCurrentThreadId(), here);
  uint32_t there = here;
  std::thread other([&] { there = system.GetCurrentThreadId(); });
  other.join();
  EXPECT_NE(there, here);
}

TEST(SteadySystem, TheTickCountDoesNotGoBack) {
  SteadySystem system;
  const uint32_t first = system.GetTickCount();
  system.Sleep(1);
  EXPECT_GE(system.GetTickCount() - first, 1u);
}

TEST(SteadySystem, SlotsAreNumberedAndOnlyAllocatedOnesTakeValues) {
  SteadySystem system;
  const uint32_t first = system.TlsAlloc();
  const uint32_t second = system.TlsAlloc();
  EXPECT_NE(first, second);
  int value = 0;
  EXPECT_TRUE(system.TlsSetValue(first, &value));
  EXPECT_EQ(system.TlsGetValue(first), &value);
  EXPECT_EQ(system.TlsGetValue(second), nullptr);
  EXPECT_FALSE(system.TlsSetValue(second + 1, &value));
}

TEST(SteadySystem, EachThreadSeesItsOwnValue) {
  SteadySystem system;
  const uint32_t slot = system.TlsAlloc();
  int mine = 0;
  ASSERT_TRUE(system.TlsSetValue(slot, &mine));
  void* seenThere = &mine;
  std::thread other([&] { seenThere = system.TlsGetValue(slot); });
  other.join();
  EXPECT_EQ(seenThere, nullptr);
  EXPECT_EQ(system.TlsGetValue(slot), &mine);
}

TEST(SteadySystem, TwoSystemsKeepTheirSlotsApart) {
  SteadySystem first;
  SteadySystem second;
  const uint32_t slot = first.TlsAlloc();
  ASSERT_EQ(second.TlsAlloc(), slot);
  int value = 0;
  first.TlsSetValue(slot, &value);
  EXPECT_EQ(second.TlsGetValue(slot), nullptr);
}

TEST(SteadySystem, SlotsRunOutLikeWindowsSlots) {
  SteadySystem system;
  for (uint32_t i = 0; i < SteadySystem::kTlsSlots; ++i) {
    ASSERT_NE(system.TlsAlloc(), SteadySystem::kTlsOutOfIndexes);
  }
  EXPECT_EQ(system.TlsAlloc(), SteadySystem::kTlsOutOfIndexes);
}

}  // namespace
}  // namespace drawing::platform::soft
