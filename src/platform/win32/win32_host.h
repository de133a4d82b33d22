// The native Windows host: every port on the real system calls, handed to
// the application as one platform::Platform by the composition root.
//
// Does: USER32 windows and messages, Direct3D 9 loaded from d3d9.dll, GDI
//   on the back buffer, DirectInput 7 loaded from DINPUT.DLL, the Win32
//   clock and files; each call is passed through with the vocabulary
//   translated. Compiled only for Windows.
// Does not: emulate anything (platform/soft is not used) or log calls;
//   what Windows does is what the program gets.
// Faults: none.
// Tests: tests/platform/win32, tests/e2e/wine_*.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_direct3d.h"
#include "platform/win32/win32_direct_input.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_windowing.h"

namespace drawing::platform::win32 {

class Win32Host {
 public:
  Win32Host() = default;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  platform::Platform GetPlatform() {
    return platform::Platform{system_, windowing_, direct3d_, gdi_, directInput_, files_};
  }

 private:
  Win32System system_;
  Win32Windowing windowing_;
  Win32Direct3DModule direct3d_;
  Win32Gdi gdi_;
  Win32DirectInputModule directInput_;
  Win32FileSystem files_;
};

}  // namespace drawing::platform::win32
