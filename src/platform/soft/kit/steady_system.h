// KERNEL32 / WinMM services from the standard library, for the hosts that
// show the software device on a real display (SDL, X11): the steady clock's
// milliseconds as the tick count, a real Sleep, the thread's own identity,
// and thread-local slots kept per thread.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace drawing::platform::soft {

class SteadySystem final : public System {
 public:
  // Slots a process can allocate, as on Windows.
  static constexpr uint32_t kTlsSlots = 1088;
  static constexpr uint32_t kTlsOutOfIndexes = 0xFFFFFFFFu;

  SteadySystem() = default;
  // Forgets the calling thread's values of this object's slots.
  ~SteadySystem() override;
  SteadySystem(const SteadySystem&) = delete;
  SteadySystem& operator=(const SteadySystem&) = delete;

  // Milliseconds of the steady clock, wrapping at 2^32 like GetTickCount.
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;
  uint32_t GetCurrentThreadId() override;
  // Sleeping already has the finest resolution the system offers.
  uint32_t timeBeginPeriod(uint32_t milliseconds) override;
  uint32_t timeEndPeriod(uint32_t milliseconds) override;
  uint32_t TlsAlloc() override;
  bool TlsSetValue(uint32_t index, void* value) override;
  // The calling thread's value of a slot; null when never set.
  void* TlsGetValue(uint32_t index) const;

 private:
  uint32_t nextSlot_ = 0;
};

}  // namespace drawing::platform::soft
