// KERNEL32 / WinMM services on SDL: SDL's millisecond clock as the tick
// count, SDL_Delay as Sleep, and thread-local slots kept per thread.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace drawing::platform::sdl {

class SdlSystem final : public System {
 public:
  // Slots a process can allocate, as on Windows.
  static constexpr uint32_t kTlsSlots = 1088;
  static constexpr uint32_t kTlsOutOfIndexes = 0xFFFFFFFFu;

  SdlSystem() = default;
  // Forgets the calling thread's values of this object's slots.
  ~SdlSystem() override;
  SdlSystem(const SdlSystem&) = delete;
  SdlSystem& operator=(const SdlSystem&) = delete;

  // Milliseconds since SDL started, wrapping at 2^32 like GetTickCount.
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;
  uint32_t GetCurrentThreadId() override;
  // SDL_Delay already sleeps with the finest resolution the system offers.
  uint32_t timeBeginPeriod(uint32_t milliseconds) override;
  uint32_t timeEndPeriod(uint32_t milliseconds) override;
  uint32_t TlsAlloc() override;
  bool TlsSetValue(uint32_t index, void* value) override;
  // The calling thread's value of a slot; null when never set.
  void* TlsGetValue(uint32_t index) const;

 private:
  uint32_t nextSlot_ = 0;
};

}  // namespace drawing::platform::sdl
