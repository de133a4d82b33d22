// "d3d9.dll" on SDL: the software device, which only loads when SDL's video
// starts and the display's modes can be read.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/hosts/sdl/sdl_display_host.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"

namespace drawing::platform::sdl {

class SdlDirect3DModule final : public Direct3DModule {
 public:
  SdlDirect3DModule(SdlDisplayHost& host, soft::SoftDirect3DModule& device)
      : host_(host), device_(device) {}

  // False when SDL's video cannot be started (no display).
  bool LoadLibrary() override { return host_.Start() && device_.LoadLibrary(); }
  bool GetProcAddress() override { return device_.GetProcAddress(); }
  Direct3D* Direct3DCreate9(uint32_t sdkVersion) override {
    return device_.Direct3DCreate9(sdkVersion);
  }

 private:
  SdlDisplayHost& host_;
  soft::SoftDirect3DModule& device_;
};

}  // namespace drawing::platform::sdl
