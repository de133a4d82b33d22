// Time, thread and thread-local services of the SDL host.
#include <gtest/gtest.h>

#include <thread>

#include "platform/hosts/sdl/sdl_system.h"

namespace drawing::platform::sdl {
namespace {

TEST(SdlSystem, TimerResolutionCallsSucceed) {
  SdlSystem system;
  EXPECT_EQ(system.timeBeginPeriod(1), 0u);
  EXPECT_EQ(system.timeEndPeriod(1), 0u);
}

TEST(SdlSystem, TheThreadIdIsTheCallersAndDiffersBetweenThreads) {
  SdlSystem system;
  const uint32_t here = system.GetCurrentThreadId();
  EXPECT_EQ(system.GetCurrentThreadId(), here);
  uint32_t there = here;
  std::thread other([&] { there = system.GetCurrentThreadId(); });
  other.join();
  EXPECT_NE(there, here);
}

TEST(SdlSystem, TheTickCountDoesNotGoBack) {
  SdlSystem system;
  const uint32_t first = system.GetTickCount();
  system.Sleep(1);
  EXPECT_GE(system.GetTickCount() - first, 1u);
}

TEST(SdlSystem, SlotsAreNumberedAndOnlyAllocatedOnesTakeValues) {
  SdlSystem system;
  const uint32_t first = system.TlsAlloc();
  const uint32_t second = system.TlsAlloc();
  EXPECT_NE(first, second);
  int value = 0;
  EXPECT_TRUE(system.TlsSetValue(first, &value));
  EXPECT_EQ(system.TlsGetValue(first), &value);
  EXPECT_EQ(system.TlsGetValue(second), nullptr);
  EXPECT_FALSE(system.TlsSetValue(second + 1, &value));
}

TEST(SdlSystem, EachThreadSeesItsOwnValue) {
  SdlSystem system;
  const uint32_t slot = system.TlsAlloc();
  int mine = 0;
  ASSERT_TRUE(system.TlsSetValue(slot, &mine));
  void* seenThere = &mine;
  std::thread other([&] { seenThere = system.TlsGetValue(slot); });
  other.join();
  EXPECT_EQ(seenThere, nullptr);
  EXPECT_EQ(system.TlsGetValue(slot), &mine);
}

TEST(SdlSystem, TwoSystemsKeepTheirSlotsApart) {
  SdlSystem first;
  SdlSystem second;
  const uint32_t slot = first.TlsAlloc();
  ASSERT_EQ(second.TlsAlloc(), slot);
  int value = 0;
  first.TlsSetValue(slot, &value);
  EXPECT_EQ(second.TlsGetValue(slot), nullptr);
}

TEST(SdlSystem, SlotsRunOutLikeWindowsSlots) {
  SdlSystem system;
  for (uint32_t i = 0; i < SdlSystem::kTlsSlots; ++i) {
    ASSERT_NE(system.TlsAlloc(), SdlSystem::kTlsOutOfIndexes);
  }
  EXPECT_EQ(system.TlsAlloc(), SdlSystem::kTlsOutOfIndexes);
}

}  // namespace
}  // namespace drawing::platform::sdl
