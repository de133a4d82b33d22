#include "platform/win32/win32_d3d.h"
//
#include "platform/win32/win32_direct3d.h"

namespace drawing::platform::win32 {

D3DPRESENT_PARAMETERS ToNative(const PresentParameters& parameters) {
  D3DPRESENT_PARAMETERS native{};
  native.BackBufferWidth = parameters.BackBufferWidth;
  native.BackBufferHeight = parameters.BackBufferHeight;
  native.BackBufferFormat = ToNative(parameters.BackBufferFormat);
  native.BackBufferCount = parameters.BackBufferCount;
  native.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(parameters.MultiSampleType);
  native.MultiSampleQuality = parameters.MultiSampleQuality;
  native.SwapEffect = static_cast<D3DSWAPEFFECT>(parameters.swapEffect);
  native.hDeviceWindow = win32::ToNative(parameters.hDeviceWindow);
  native.Windowed = parameters.Windowed ? TRUE : FALSE;
  native.EnableAutoDepthStencil = parameters.EnableAutoDepthStencil ? TRUE : FALSE;
  native.AutoDepthStencilFormat = ToNative(parameters.AutoDepthStencilFormat);
  native.Flags = parameters.Flags;
  native.FullScreen_RefreshRateInHz = parameters.FullScreen_RefreshRateInHz;
  native.PresentationInterval = static_cast<UINT>(parameters.PresentationInterval);
  return native;
}

PresentParameters FromNative(const D3DPRESENT_PARAMETERS& native) {
  PresentParameters parameters;
  parameters.BackBufferWidth = native.BackBufferWidth;
  parameters.BackBufferHeight = native.BackBufferHeight;
  parameters.BackBufferFormat = FromNative(native.BackBufferFormat);
  parameters.BackBufferCount = native.BackBufferCount;
  parameters.MultiSampleType = static_cast<MultiSample>(native.MultiSampleType);
  parameters.MultiSampleQuality = native.MultiSampleQuality;
  parameters.swapEffect = static_cast<SwapEffect>(native.SwapEffect);
  parameters.hDeviceWindow = win32::FromNative(native.hDeviceWindow);
  parameters.Windowed = native.Windowed != FALSE;
  parameters.EnableAutoDepthStencil = native.EnableAutoDepthStencil != FALSE;
  parameters.AutoDepthStencilFormat = FromNative(native.AutoDepthStencilFormat);
  parameters.Flags = native.Flags;
  parameters.FullScreen_RefreshRateInHz = native.FullScreen_RefreshRateInHz;
  parameters.PresentationInterval = static_cast<PresentInterval>(native.PresentationInterval);
  return parameters;
}

bool Win32Direct3DModule::LoadLibrary() {
  if (library_ == nullptr) {
    library_ = LoadLibraryA("d3d9.dll");
  }
  return library_ != nullptr;
}

bool Win32Direct3DModule::GetProcAddress() {
  if (library_ == nullptr) {
    return false;
  }
  create_ = ProcAs<void (*)()>(::GetProcAddress(static_cast<HMODULE>(library_), "Direct3DCreate9"));
  return create_ != nullptr;
}

Direct3D* Win32Direct3DModule::Direct3DCreate9(uint32_t sdkVersion) {
  if (create_ == nullptr) {
    return nullptr;
  }
  using Create = IDirect3D9*(WINAPI*)(UINT);
  IDirect3D9* native = reinterpret_cast<Create>(create_)(sdkVersion);
  return native == nullptr ? nullptr : new Win32Direct3D(native);
}

uint32_t Win32Direct3D::GetAdapterModeCount(uint32_t adapter, Format format) {
  return native()->GetAdapterModeCount(adapter, ToNative(format));
}

D3dResult Win32Direct3D::EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                                          DisplayMode* out) {
  D3DDISPLAYMODE native{};
  const HRESULT result = this->native()->EnumAdapterModes(adapter, ToNative(format), mode, &native);
  if (SUCCEEDED(result)) {
    out->Width = native.Width;
    out->Height = native.Height;
    out->RefreshRate = native.RefreshRate;
    out->format = FromNative(native.Format);
  }
  return FromNative(result);
}

D3dResult Win32Direct3D::CheckDeviceType(uint32_t adapter, DevType type, Format displayFormat,
                                         Format backBufferFormat, bool windowed) {
  return FromNative(native()->CheckDeviceType(adapter, static_cast<D3DDEVTYPE>(type),
                                              ToNative(displayFormat), ToNative(backBufferFormat),
                                              windowed ? TRUE : FALSE));
}

D3dResult Win32Direct3D::GetDeviceCaps(uint32_t adapter, DevType type, Caps* caps) {
  D3DCAPS9 native{};
  const HRESULT result =
      this->native()->GetDeviceCaps(adapter, static_cast<D3DDEVTYPE>(type), &native);
  if (SUCCEEDED(result)) {
    caps->DevCaps = native.DevCaps;
  }
  return FromNative(result);
}

D3dResult Win32Direct3D::CreateDevice(uint32_t adapter, DevType type, Hwnd focusWindow,
                                      uint32_t behaviorFlags, PresentParameters* parameters,
                                      Device** device) {
  D3DPRESENT_PARAMETERS native = ToNative(*parameters);
  IDirect3DDevice9* created = nullptr;
  const HRESULT result =
      this->native()->CreateDevice(adapter, static_cast<D3DDEVTYPE>(type),
                                   win32::ToNative(focusWindow), behaviorFlags, &native, &created);
  // Direct3D writes back what it chose (a default format or count).
  *parameters = FromNative(native);
  *device = SUCCEEDED(result) && created != nullptr ? new Win32Device(created) : nullptr;
  return FromNative(result);
}

}  // namespace drawing::platform::win32
