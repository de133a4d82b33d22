#include "platform/soft/direct3d/soft_direct3d.h"

#include "platform/soft/direct3d/soft_device.h"
#include "platform/soft/direct3d/soft_ref_count.h"

namespace drawing::platform::soft {

namespace {

constexpr uint32_t kSoftwareVertexProcessing =
    static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing);
constexpr uint32_t kHardwareVertexProcessing = 0x40;
constexpr uint32_t kMixedVertexProcessing =
    static_cast<uint32_t>(CreateFlag::MixedVertexProcessing);

}  // namespace

SoftDirect3D::SoftDirect3D(DisplayHost& host, SoftGdi& gdi, SoftLiveObjects& live)
    : host_(host), gdi_(gdi), live_(live) {
  ++live_.direct3d;
}

SoftDirect3D::~SoftDirect3D() {
  --live_.direct3d;
}

uint32_t SoftDirect3D::AddRef() {
  return ++references_;
}

uint32_t SoftDirect3D::Release() {
  return ReleaseReference(this, references_);
}

uint32_t SoftDirect3D::GetAdapterModeCount(uint32_t adapter, Format format) {
  return adapter == 0 ? host_.ModeCount(format) : 0;
}

D3dResult SoftDirect3D::EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                                         DisplayMode* out) {
  if (adapter != 0 || out == nullptr || !host_.Mode(format, mode, out)) {
    return D3dResult::InvalidCall;
  }
  return D3dResult::Ok;
}

D3dResult SoftDirect3D::CheckDeviceType(uint32_t adapter, DevType type, Format displayFormat,
                                        Format backBufferFormat, bool windowed) {
  if (adapter != 0 || type != DevType::Hal) {
    return D3dResult::InvalidCall;
  }
  if (windowed || displayFormat != backBufferFormat || !host_.IsUsableFormat(displayFormat)) {
    return D3dResult::NotAvailable;
  }
  return D3dResult::Ok;
}

D3dResult SoftDirect3D::GetDeviceCaps(uint32_t adapter, DevType type, Caps* caps) {
  if (adapter != 0 || type != DevType::Hal || caps == nullptr) {
    return D3dResult::InvalidCall;
  }
  *caps = host_.DeviceCaps();
  return D3dResult::Ok;
}

D3dResult SoftDirect3D::CheckBehavior(uint32_t behaviorFlags) {
  const uint32_t modes = behaviorFlags & (kSoftwareVertexProcessing | kHardwareVertexProcessing |
                                          kMixedVertexProcessing);
  if (modes != kSoftwareVertexProcessing && modes != kHardwareVertexProcessing &&
      modes != kMixedVertexProcessing) {
    return D3dResult::InvalidCall;
  }
  const bool transformAndLight =
      (host_.DeviceCaps().DevCaps & static_cast<uint32_t>(DevCap::HwTransformAndLight)) != 0;
  if (modes != kSoftwareVertexProcessing && !transformAndLight) {
    return D3dResult::InvalidCall;
  }
  return D3dResult::Ok;
}

D3dResult SoftDirect3D::CreateDevice(uint32_t adapter, DevType type, Hwnd focusWindow,
                                     uint32_t behaviorFlags, PresentParameters* parameters,
                                     Device** device) {
  if (device == nullptr) {
    return D3dResult::InvalidCall;
  }
  *device = nullptr;
  if (adapter != 0 || type != DevType::Hal) {
    return D3dResult::InvalidCall;
  }
  const D3dResult checked = SoftDevice::CheckParameters(host_, parameters);
  if (Failed(checked)) {
    return checked;
  }
  if (focusWindow == nullptr && parameters->hDeviceWindow == nullptr) {
    return D3dResult::InvalidCall;
  }
  const D3dResult behavior = CheckBehavior(behaviorFlags);
  if (Failed(behavior)) {
    return behavior;
  }
  const D3dResult hosted = host_.CreateDevice(*parameters);
  if (Failed(hosted)) {
    return hosted;
  }
  SoftDevice* created = SoftDevice::Create(*this, host_, gdi_, live_, behaviorFlags, *parameters);
  if (created == nullptr) {
    return D3dResult::OutOfVideoMemory;
  }
  *device = created;
  return D3dResult::Ok;
}

}  // namespace drawing::platform::soft
