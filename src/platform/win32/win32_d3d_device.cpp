#include "platform/win32/win32_d3d.h"
//
#include <vector>

namespace drawing::platform::win32 {

D3dResult Win32Device::TestCooperativeLevel() {
  return FromNative(native()->TestCooperativeLevel());
}

D3dResult Win32Device::Reset(PresentParameters* parameters) {
  D3DPRESENT_PARAMETERS native = ToNative(*parameters);
  const HRESULT result = this->native()->Reset(&native);
  *parameters = FromNative(native);
  return FromNative(result);
}

D3dResult Win32Device::Present() {
  return FromNative(native()->Present(nullptr, nullptr, nullptr, nullptr));
}

D3dResult Win32Device::BeginScene() {
  return FromNative(native()->BeginScene());
}

D3dResult Win32Device::EndScene() {
  return FromNative(native()->EndScene());
}

D3dResult Win32Device::Clear(uint32_t count, const Rect* rects, ClearFlag flags, uint32_t color,
                             float z, uint32_t stencil) {
  std::vector<D3DRECT> native;
  if (rects != nullptr) {
    native.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      native.push_back(D3DRECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    }
  }
  return FromNative(this->native()->Clear(count, rects != nullptr ? native.data() : nullptr,
                                          static_cast<DWORD>(flags), color, z, stencil));
}

D3dResult Win32Device::GetBackBuffer(uint32_t swapChain, uint32_t index, BackBufferType type,
                                     Surface** surface) {
  IDirect3DSurface9* native = nullptr;
  const HRESULT result = this->native()->GetBackBuffer(
      swapChain, index, static_cast<D3DBACKBUFFER_TYPE>(type), &native);
  *surface = SUCCEEDED(result) && native != nullptr ? new Win32Surface(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Device::CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                     uint32_t usage, Format format, Pool pool, Texture** texture) {
  IDirect3DTexture9* native = nullptr;
  const HRESULT result = this->native()->CreateTexture(
      width, height, levels, usage, ToNative(format), static_cast<D3DPOOL>(pool), &native, nullptr);
  *texture = SUCCEEDED(result) && native != nullptr ? new Win32Texture(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Device::CreateRenderTarget(uint32_t width, uint32_t height, Format format,
                                          MultiSample multiSample, uint32_t quality, bool lockable,
                                          Surface** surface) {
  IDirect3DSurface9* native = nullptr;
  const HRESULT result = this->native()->CreateRenderTarget(
      width, height, ToNative(format), static_cast<D3DMULTISAMPLE_TYPE>(multiSample), quality,
      lockable ? TRUE : FALSE, &native, nullptr);
  *surface = SUCCEEDED(result) && native != nullptr ? new Win32Surface(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Device::CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format,
                                                   Pool pool, Surface** surface) {
  IDirect3DSurface9* native = nullptr;
  const HRESULT result = this->native()->CreateOffscreenPlainSurface(
      width, height, ToNative(format), static_cast<D3DPOOL>(pool), &native, nullptr);
  *surface = SUCCEEDED(result) && native != nullptr ? new Win32Surface(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Device::SetRenderState(RenderState state, uint32_t value) {
  return FromNative(native()->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state), value));
}

D3dResult Win32Device::SetFVF(uint32_t fvf) {
  return FromNative(native()->SetFVF(fvf));
}

D3dResult Win32Device::SetTexture(uint32_t stage, Texture* texture) {
  // Every texture of this device was made by CreateTexture above.
  IDirect3DTexture9* native =
      texture == nullptr ? nullptr : static_cast<Win32Texture*>(texture)->native();
  return FromNative(this->native()->SetTexture(stage, native));
}

D3dResult Win32Device::SetTextureStageState(uint32_t stage, TextureStageState state,
                                            uint32_t value) {
  return FromNative(
      native()->SetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(state), value));
}

D3dResult Win32Device::SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value) {
  return FromNative(
      native()->SetSamplerState(sampler, static_cast<D3DSAMPLERSTATETYPE>(state), value));
}

D3dResult Win32Device::SetSoftwareVertexProcessing(bool software) {
  return FromNative(native()->SetSoftwareVertexProcessing(software ? TRUE : FALSE));
}

D3dResult Win32Device::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                       const void* vertices, uint32_t stride) {
  return FromNative(native()->DrawPrimitiveUP(static_cast<D3DPRIMITIVETYPE>(type), primitiveCount,
                                              vertices, stride));
}

}  // namespace drawing::platform::win32
