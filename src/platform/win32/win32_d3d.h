// The wrappers around the real Direct3D 9 objects. Each holds one reference
// to its COM object and counts the references the program holds to it; the
// last Release gives the COM reference back.
#pragma once

#include "platform/win32/win32_api.h"
//
#include <d3d9.h>

#include "platform/direct3d.h"

namespace drawing::platform::win32 {

inline D3dResult FromNative(HRESULT result) {
  return static_cast<D3dResult>(static_cast<uint32_t>(result));
}
inline D3DFORMAT ToNative(Format format) {
  return static_cast<D3DFORMAT>(format);
}
inline Format FromNative(D3DFORMAT format) {
  return static_cast<Format>(format);
}

D3DPRESENT_PARAMETERS ToNative(const PresentParameters& parameters);
PresentParameters FromNative(const D3DPRESENT_PARAMETERS& native);

template <typename Interface, typename Native>
class ComWrapper : public Interface {
 public:
  explicit ComWrapper(Native* native) : native_(native) {}
  ComWrapper(const ComWrapper&) = delete;
  ComWrapper& operator=(const ComWrapper&) = delete;

  uint32_t AddRef() override { return ++references_; }
  uint32_t Release() override {
    const uint32_t left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }
  Native* native() const { return native_; }

 protected:
  ~ComWrapper() override { native_->Release(); }

 private:
  Native* native_;
  uint32_t references_ = 1;
};

class Win32Surface final : public ComWrapper<Surface, IDirect3DSurface9> {
 public:
  using ComWrapper::ComWrapper;
  D3dResult LockRect(LockedRect* locked, const Rect* rect, LockFlag flags) override;
  D3dResult UnlockRect() override;
  D3dResult GetDC(Hdc* dc) override;
  D3dResult ReleaseDC(Hdc dc) override;
};

class Win32Texture final : public ComWrapper<Texture, IDirect3DTexture9> {
 public:
  using ComWrapper::ComWrapper;
  D3dResult GetSurfaceLevel(uint32_t level, Surface** surface) override;
  D3dResult LockRect(uint32_t level, LockedRect* locked, const Rect* rect, LockFlag flags) override;
  D3dResult UnlockRect(uint32_t level) override;
};

class Win32Device final : public ComWrapper<Device, IDirect3DDevice9> {
 public:
  using ComWrapper::ComWrapper;
  D3dResult TestCooperativeLevel() override;
  D3dResult Reset(PresentParameters* parameters) override;
  D3dResult Present() override;
  D3dResult BeginScene() override;
  D3dResult EndScene() override;
  D3dResult Clear(uint32_t count, const Rect* rects, ClearFlag flags, uint32_t color, float z,
                  uint32_t stencil) override;
  D3dResult GetBackBuffer(uint32_t swapChain, uint32_t index, BackBufferType type,
                          Surface** surface) override;
  D3dResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          Format format, Pool pool, Texture** texture) override;
  D3dResult CreateRenderTarget(uint32_t width, uint32_t height, Format format,
                               MultiSample multiSample, uint32_t quality, bool lockable,
                               Surface** surface) override;
  D3dResult CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format, Pool pool,
                                        Surface** surface) override;
  D3dResult SetRenderState(RenderState state, uint32_t value) override;
  D3dResult SetFVF(uint32_t fvf) override;
  D3dResult SetTexture(uint32_t stage, Texture* texture) override;
  D3dResult SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) override;
  D3dResult SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value) override;
  D3dResult SetSoftwareVertexProcessing(bool software) override;
  D3dResult DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override;
};

class Win32Direct3D final : public ComWrapper<Direct3D, IDirect3D9> {
 public:
  using ComWrapper::ComWrapper;
  uint32_t GetAdapterModeCount(uint32_t adapter, Format format) override;
  D3dResult EnumAdapterModes(uint32_t adapter, Format format, uint32_t mode,
                             DisplayMode* out) override;
  D3dResult CheckDeviceType(uint32_t adapter, DevType type, Format displayFormat,
                            Format backBufferFormat, bool windowed) override;
  D3dResult GetDeviceCaps(uint32_t adapter, DevType type, Caps* caps) override;
  D3dResult CreateDevice(uint32_t adapter, DevType type, Hwnd focusWindow, uint32_t behaviorFlags,
                         PresentParameters* parameters, Device** device) override;
};

}  // namespace drawing::platform::win32
