// KERNEL32 and WinMM: the clock, sleeping, the thread identifier, the timer
// resolution and thread-local slots.
#pragma once

#include "platform/system.h"

namespace drawing::platform::win32 {

class Win32System final : public System {
 public:
  uint32_t GetTickCount() override;
  void Sleep(uint32_t milliseconds) override;
  uint32_t GetCurrentThreadId() override;
  uint32_t timeBeginPeriod(uint32_t milliseconds) override;
  uint32_t timeEndPeriod(uint32_t milliseconds) override;
  uint32_t TlsAlloc() override;
  bool TlsSetValue(uint32_t index, void* value) override;
};

}  // namespace drawing::platform::win32
