// Direct3D 9 from "d3d9.dll", loaded at run time. The objects it creates are
// wrapped so that every port method forwards to the real COM method.
#pragma once

#include "platform/direct3d.h"

namespace drawing::platform::win32 {

class Win32Direct3DModule final : public Direct3DModule {
 public:
  bool LoadLibrary() override;
  bool GetProcAddress() override;
  Direct3D* Direct3DCreate9(uint32_t sdkVersion) override;

 private:
  void* library_ = nullptr;     // the loaded d3d9.dll; never unloaded
  void (*create_)() = nullptr;  // its Direct3DCreate9
};

}  // namespace drawing::platform::win32
