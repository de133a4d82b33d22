// The software IDirect3D9 object: the adapter's modes, format checks and
// caps as the DisplayHost reports them, and the creation of SoftDevice.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/direct3d/soft_live_objects.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {

class SoftDirect3D final : public Direct3D {
 public:
  SoftDirect3D(DisplayHost& host, SoftGdi& gdi, SoftLiveObjects& live);
  ~SoftDirect3D() override;
  SoftDirect3D(const SoftDirect3D&) = delete;
  SoftDirect3D& operator=(const SoftDirect3D&) = delete;

  uint32_t AddRef() override;
  uint32_t Release() override;

  // Adapter 0 is the only adapter.
  uint32_t GetAdapterModeCount(uint32_t adapter, Format format) override;
  D3dResult EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                             DisplayMode* out) override;
  // Full screen only, with the back buffer in the display format.
  D3dResult CheckDeviceType(uint32_t adapter, DevType type, Format displayFormat,
                            Format backBufferFormat, bool windowed) override;
  D3dResult GetDeviceCaps(uint32_t adapter, DevType type, Caps* caps) override;
  // Checks the present parameters (see SoftDevice::CheckParameters), a
  // window, and exactly one vertex-processing mode, hardware or mixed only
  // with the transform-and-lighting cap.
  D3dResult CreateDevice(uint32_t adapter, DevType type, Hwnd focusWindow, uint32_t behaviorFlags,
                         PresentParameters* parameters, Device** device) override;

  uint32_t References() const { return references_; }

 private:
  D3dResult CheckBehavior(uint32_t behaviorFlags);

  DisplayHost& host_;
  SoftGdi& gdi_;
  SoftLiveObjects& live_;
  uint32_t references_ = 1;
};

}  // namespace drawing::platform::soft
