#include "platform/win32/win32_api.h"
//
#include <mmsystem.h>

#include "platform/win32/win32_system.h"

namespace drawing::platform::win32 {

uint32_t Win32System::GetTickCount() {
  return ::GetTickCount();
}

void Win32System::Sleep(uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

uint32_t Win32System::GetCurrentThreadId() {
  return ::GetCurrentThreadId();
}

uint32_t Win32System::timeBeginPeriod(uint32_t milliseconds) {
  return ::timeBeginPeriod(milliseconds);
}

uint32_t Win32System::timeEndPeriod(uint32_t milliseconds) {
  return ::timeEndPeriod(milliseconds);
}

uint32_t Win32System::TlsAlloc() {
  return ::TlsAlloc();
}

bool Win32System::TlsSetValue(uint32_t index, void* value) {
  return ::TlsSetValue(index, value) != FALSE;
}

}  // namespace drawing::platform::win32
