// DirectInput 7 from "DINPUT.DLL", loaded at run time, with the system
// keyboard and mouse as port devices forwarding to the real COM objects.
#pragma once

#include "platform/direct_input.h"

namespace drawing::platform::win32 {

class Win32DirectInputModule final : public DirectInputModule {
 public:
  bool LoadLibrary() override;
  bool GetProcAddress() override;
  DiResult DirectInputCreateEx(Hinstance instance, uint32_t version, DirectInput** out) override;
  void FreeLibrary() override;

 private:
  void* library_ = nullptr;     // the loaded DINPUT.DLL
  void (*create_)() = nullptr;  // its DirectInputCreateEx
};

}  // namespace drawing::platform::win32
