// The software Direct3D 9 device: an exclusive full-screen device whose back
// buffer is memory, with managed textures, render targets and system-memory
// surfaces, the scene bracket, a target clear and the sprite quad. What
// depends on a screen (loss, readiness, presentation, faults) comes from the
// DisplayHost. The device keeps no record of the calls made on it: each
// call and its result goes to the module's EmulationObserver, when a test
// attached one.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/direct3d/soft_device_call.h"
#include "platform/soft/direct3d/soft_live_objects.h"
#include "platform/soft/direct3d/soft_surface.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {

class SoftDirect3D;
class SoftTexture;

class SoftDevice final : public Device {
 public:
  // Largest width or height of any surface.
  static constexpr uint32_t kMaxDimension = 16384;
  static constexpr uint32_t kTextureStages = 16;

  // The checks of CreateDevice and Reset: full screen, a back-buffer format
  // the host can use, a size of 1 .. kMaxDimension each way, one back buffer,
  // no multisampling and no depth buffer. A back-buffer count of 0 is
  // written back as 1, as Direct3D does.
  static D3dResult CheckParameters(DisplayHost& host, PresentParameters* parameters);

  // Null when the back buffer cannot be had. The device holds a reference
  // on `direct3d` until its last Release.
  static SoftDevice* Create(SoftDirect3D& direct3d, DisplayHost& host, SoftGdi& gdi,
                            SoftLiveObjects& live, uint32_t behaviorFlags,
                            const PresentParameters& parameters);
  ~SoftDevice() override;
  SoftDevice(const SoftDevice&) = delete;
  SoftDevice& operator=(const SoftDevice&) = delete;

  uint32_t AddRef() override;
  uint32_t Release() override;

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

  // The device's state as Direct3D's Get calls would answer it, for tests
  // (an observer sees the calls, not what creation and Reset set).
  SoftSurface& BackBuffer() { return *backBuffer_; }
  const PresentParameters& Parameters() const { return parameters_; }
  uint32_t BehaviorFlags() const { return behaviorFlags_; }
  bool InScene() const { return inScene_; }
  uint32_t RenderStateValue(RenderState state) const;
  uint32_t Fvf() const { return fvf_; }
  uint32_t TextureStageStateValue(uint32_t stage, TextureStageState state) const;
  uint32_t SamplerStateValue(uint32_t sampler, SamplerState state) const;
  bool SoftwareVertexProcessing() const { return softwareVertexProcessing_; }
  const SoftTexture* BoundTexture(uint32_t stage) const;

  // For the device's own resources.
  DisplayHost& Host() { return host_; }
  SoftGdi& Gdi() { return gdi_; }
  SoftLiveObjects& Live() { return live_; }
  void StandaloneSurfaceCreated(const SurfaceDesc& desc);
  void StandaloneSurfaceDestroyed(const SurfaceDesc& desc);
  void TextureCreated();
  void TextureDestroyed(const SoftTexture* texture);

 private:
  SoftDevice(SoftDirect3D& direct3d, DisplayHost& host, SoftGdi& gdi, SoftLiveObjects& live,
             uint32_t behaviorFlags, const PresentParameters& parameters);

  std::unique_ptr<SoftSurface> MakeBackBuffer(const PresentParameters& parameters);
  void SetDefaultStates();
  D3dResult Logged(DeviceCallKind kind, D3dResult result, uint32_t a = 0, uint32_t b = 0,
                   uint32_t c = 0);
  D3dResult CheckSurfaceRequest(uint32_t width, uint32_t height, Format format,
                                DeviceOperation operation);
  D3dResult MakeStandaloneSurface(const SurfaceDesc& desc, Surface** surface);
  D3dResult DrawQuad(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                     uint32_t stride);

  SoftDirect3D& direct3d_;
  DisplayHost& host_;
  SoftGdi& gdi_;
  SoftLiveObjects& live_;
  uint32_t behaviorFlags_;
  PresentParameters parameters_;
  std::unique_ptr<SoftSurface> backBuffer_;
  uint32_t references_ = 1;
  // Render targets and default-pool surfaces alive; Reset refuses while any is.
  int32_t liveDefaultPool_ = 0;
  bool inScene_ = false;

  std::map<uint32_t, uint32_t> renderStates_;
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> stageStates_;
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> samplerStates_;
  uint32_t fvf_ = 0;
  bool softwareVertexProcessing_ = false;
  std::array<SoftTexture*, kTextureStages> textures_{};
};

}  // namespace drawing::platform::soft
