// KERNEL32 / WinMM services the program needs: time, sleeping, the thread
// identifier (it seeds the random generator), the timer resolution and the
// thread-local slot that mirrors the current drawing context.
#pragma once

#include <cstdint>

#include "platform/port_result.h"

namespace drawing::platform {

class System {
 public:
  virtual ~System() = default;

  // Milliseconds since some fixed start, wrapping at 2^32.
  DRAWING_NODISCARD virtual uint32_t GetTickCount() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
  DRAWING_NODISCARD virtual uint32_t GetCurrentThreadId() = 0;
  // Both return 0 (TIMERR_NOERROR) on success.
  virtual uint32_t timeBeginPeriod(uint32_t milliseconds) = 0;
  virtual uint32_t timeEndPeriod(uint32_t milliseconds) = 0;
  // TlsOutOfIndexes (0xFFFFFFFF) on failure.
  DRAWING_NODISCARD virtual uint32_t TlsAlloc() = 0;
  DRAWING_NODISCARD virtual bool TlsSetValue(uint32_t index, void* value) = 0;
};

}  // namespace drawing::platform
