#include "platform/soft/direct3d/soft_device.h"

#include "platform/soft/direct3d/soft_device_pixels.h"
#include "platform/soft/direct3d/soft_device_quad.h"
#include "platform/soft/direct3d/soft_direct3d.h"
#include "platform/soft/direct3d/soft_ref_count.h"
#include "platform/soft/direct3d/soft_texture.h"
#include "platform/soft/kit/emulation_observer.h"

namespace drawing::platform::soft {

namespace {

constexpr uint32_t kSoftwareVertexProcessing =
    static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing);
constexpr uint32_t kHardwareVertexProcessing = 0x40;

// Direct3D's initial states, restored by Reset.
constexpr uint32_t kTrue = 1;
constexpr uint32_t kFalse = 0;
constexpr uint32_t kTextureOpDisable = 1;
constexpr uint32_t kTextureOpModulate = 4;

constexpr uint32_t Value(auto enumerator) {
  return static_cast<uint32_t>(enumerator);
}

bool IsSurfaceFormat(Format format) {
  return DeviceBytesPerPixel(format) != 0;
}

}  // namespace

D3dResult SoftDevice::CheckParameters(DisplayHost& host, PresentParameters* parameters) {
  if (parameters == nullptr || parameters->Windowed) {
    return D3dResult::InvalidCall;
  }
  const bool sized = parameters->BackBufferWidth > 0 && parameters->BackBufferHeight > 0 &&
                     parameters->BackBufferWidth <= kMaxDimension &&
                     parameters->BackBufferHeight <= kMaxDimension;
  if (!sized || !IsSurfaceFormat(parameters->BackBufferFormat) ||
      !host.IsUsableFormat(parameters->BackBufferFormat) || parameters->BackBufferCount > 1 ||
      parameters->MultiSampleType != MultiSample::None || parameters->EnableAutoDepthStencil) {
    return D3dResult::InvalidCall;
  }
  if (parameters->BackBufferCount == 0) {
    parameters->BackBufferCount = 1;
  }
  return D3dResult::Ok;
}

SoftDevice* SoftDevice::Create(SoftDirect3D& direct3d, DisplayHost& host, SoftGdi& gdi,
                               SoftLiveObjects& live, uint32_t behaviorFlags,
                               const PresentParameters& parameters) {
  auto* device = new SoftDevice(direct3d, host, gdi, live, behaviorFlags, parameters);
  device->backBuffer_ = device->MakeBackBuffer(parameters);
  if (device->backBuffer_ == nullptr) {
    device->Release();
    return nullptr;
  }
  if (live.observer != nullptr) {
    live.observer->DeviceMade();
  }
  return device;
}

SoftDevice::SoftDevice(SoftDirect3D& direct3d, DisplayHost& host, SoftGdi& gdi,
                       SoftLiveObjects& live, uint32_t behaviorFlags,
                       const PresentParameters& parameters)
    : direct3d_(direct3d),
      host_(host),
      gdi_(gdi),
      live_(live),
      behaviorFlags_(behaviorFlags),
      parameters_(parameters) {
  direct3d_.AddRef();
  ++live_.devices;
  live_.device = this;
  SetDefaultStates();
}

SoftDevice::~SoftDevice() {
  backBuffer_.reset();
  --live_.devices;
  if (live_.device == this) {
    live_.device = nullptr;
  }
  host_.DeviceReleased();
  direct3d_.Release();
}

uint32_t SoftDevice::AddRef() {
  return ++references_;
}

uint32_t SoftDevice::Release() {
  return ReleaseReference(this, references_);
}

std::unique_ptr<SoftSurface> SoftDevice::MakeBackBuffer(const PresentParameters& parameters) {
  const bool lockable = (parameters.Flags & Value(PresentFlag::LockableBackbuffer)) != 0;
  const SurfaceDesc desc{parameters.BackBufferWidth,
                         parameters.BackBufferHeight,
                         parameters.BackBufferFormat,
                         Pool::Default,
                         lockable,
                         SurfaceKind::BackBuffer};
  if (BackBufferLease* lease = host_.LendBackBuffer(parameters)) {
    // Memory that cannot hold the surface is left unused; the host then
    // copies from the device's own memory as usual.
    if (auto surface = SoftSurface::CreateLent(*this, desc, this, *lease)) {
      return surface;
    }
  }
  return SoftSurface::Create(*this, desc, this);
}

void SoftDevice::SetDefaultStates() {
  renderStates_ = {
      {Value(RenderState::AlphaBlendEnable), kFalse},
      {Value(RenderState::SrcBlend), Value(Blend::One)},
      {Value(RenderState::DestBlend), Value(Blend::Zero)},
      {Value(RenderState::MultisampleAntialias), kTrue},
  };
  stageStates_.clear();
  samplerStates_.clear();
  for (uint32_t stage = 0; stage < kTextureStages; ++stage) {
    stageStates_[{stage, Value(TextureStageState::ColorOp)}] =
        stage == 0 ? kTextureOpModulate : kTextureOpDisable;
    stageStates_[{stage, Value(TextureStageState::AlphaOp)}] =
        stage == 0 ? Value(TextureOp::SelectArg1) : kTextureOpDisable;
    samplerStates_[{stage, Value(SamplerState::MagFilter)}] = Value(TextureFilter::Point);
    samplerStates_[{stage, Value(SamplerState::MinFilter)}] = Value(TextureFilter::Point);
  }
  fvf_ = 0;
  textures_.fill(nullptr);
  softwareVertexProcessing_ = (behaviorFlags_ & kSoftwareVertexProcessing) != 0;
  inScene_ = false;
}

D3dResult SoftDevice::Logged(DeviceCallKind kind, D3dResult result, uint32_t a, uint32_t b,
                             uint32_t c) {
  if (live_.observer != nullptr) {
    live_.observer->DeviceCalled(DeviceCall{kind, a, b, c, result});
  }
  return result;
}

D3dResult SoftDevice::TestCooperativeLevel() {
  return Logged(DeviceCallKind::TestCooperativeLevel, host_.TestCooperativeLevel());
}

D3dResult SoftDevice::Reset(PresentParameters* parameters) {
  if (parameters == nullptr) {
    return Logged(DeviceCallKind::Reset, D3dResult::InvalidCall);
  }
  const auto log = [&](D3dResult result) {
    return Logged(DeviceCallKind::Reset, result, parameters->BackBufferWidth,
                  parameters->BackBufferHeight, Value(parameters->BackBufferFormat));
  };
  const D3dResult checked = CheckParameters(host_, parameters);
  if (Failed(checked)) {
    return log(checked);
  }
  // As Direct3D: every default-pool resource, the back buffer included,
  // must have been given up first.
  if (liveDefaultPool_ > 0 || backBuffer_->References() > 0) {
    return log(D3dResult::InvalidCall);
  }
  const D3dResult hosted = host_.Reset(*parameters);
  if (Failed(hosted)) {
    // The host may have taken back the memory it lent for the old buffer.
    backBuffer_->MoveLent();
    return log(hosted);
  }
  std::unique_ptr<SoftSurface> fresh = MakeBackBuffer(*parameters);
  if (fresh == nullptr) {
    return log(D3dResult::OutOfVideoMemory);
  }
  backBuffer_ = std::move(fresh);
  parameters_ = *parameters;
  SetDefaultStates();
  return log(D3dResult::Ok);
}

D3dResult SoftDevice::Present() {
  if (inScene_) {
    return Logged(DeviceCallKind::Present, D3dResult::InvalidCall);
  }
  const D3dResult result = host_.Present(backBuffer_->View(), backBuffer_->Changed());
  if (Succeeded(result)) {
    backBuffer_->Presented();
  }
  if (backBuffer_->Lent()) {
    backBuffer_->MoveLent();
    if (Succeeded(result)) {
      backBuffer_->PresentedInPlace();
    }
  }
  return Logged(DeviceCallKind::Present, result);
}

D3dResult SoftDevice::BeginScene() {
  if (inScene_) {
    return Logged(DeviceCallKind::BeginScene, D3dResult::InvalidCall);
  }
  inScene_ = true;
  return Logged(DeviceCallKind::BeginScene, D3dResult::Ok);
}

D3dResult SoftDevice::EndScene() {
  if (!inScene_) {
    return Logged(DeviceCallKind::EndScene, D3dResult::InvalidCall);
  }
  inScene_ = false;
  return Logged(DeviceCallKind::EndScene, D3dResult::Ok);
}

D3dResult SoftDevice::Clear(uint32_t count, const Rect* rects, ClearFlag flags, uint32_t color,
                            float /*z*/, uint32_t /*stencil*/) {
  const auto log = [&](D3dResult result) {
    return Logged(DeviceCallKind::Clear, result, color, count);
  };
  // There is no depth or stencil buffer to clear.
  if (flags != ClearFlag::Target || (count > 0) != (rects != nullptr)) {
    return log(D3dResult::InvalidCall);
  }
  SoftSurface& target = *backBuffer_;
  const uint32_t raw = RawFromArgb(target.Desc().format, color);
  if (count == 0) {
    // Kept aside by the surface: the frame's first full-screen copy usually
    // covers it before anyone could see it.
    target.Fill(Rect{0, 0, static_cast<int32_t>(target.Desc().width),
                     static_cast<int32_t>(target.Desc().height)},
                raw);
  }
  for (uint32_t k = 0; k < count; ++k) {
    target.Fill(rects[k], raw);
  }
  return log(D3dResult::Ok);
}

D3dResult SoftDevice::GetBackBuffer(uint32_t swapChain, uint32_t index, BackBufferType type,
                                    Surface** surface) {
  if (surface == nullptr || swapChain != 0 || index != 0 || type != BackBufferType::Mono) {
    return Logged(DeviceCallKind::GetBackBuffer, D3dResult::InvalidCall);
  }
  if (const D3dResult allowed = host_.Allow(DeviceOperation::GetBackBuffer); Failed(allowed)) {
    *surface = nullptr;
    return Logged(DeviceCallKind::GetBackBuffer, allowed);
  }
  backBuffer_->AddRef();
  *surface = backBuffer_.get();
  return Logged(DeviceCallKind::GetBackBuffer, D3dResult::Ok);
}

D3dResult SoftDevice::CheckSurfaceRequest(uint32_t width, uint32_t height, Format format,
                                          DeviceOperation operation) {
  if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension ||
      !IsSurfaceFormat(format)) {
    return D3dResult::InvalidCall;
  }
  return host_.Allow(operation);
}

D3dResult SoftDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels,
                                    uint32_t usage, Format format, Pool pool, Texture** texture) {
  const auto log = [&](D3dResult result) {
    return Logged(DeviceCallKind::CreateTexture, result, width, height, Value(format));
  };
  if (texture == nullptr) {
    return log(D3dResult::InvalidCall);
  }
  *texture = nullptr;
  // One level, no special usage, kept in memory: mipmaps, render-target and
  // default-pool textures are not provided.
  if (levels != 1 || usage != 0 || (pool != Pool::Managed && pool != Pool::SystemMem)) {
    return log(D3dResult::InvalidCall);
  }
  const D3dResult allowed =
      CheckSurfaceRequest(width, height, format, DeviceOperation::CreateTexture);
  if (Failed(allowed)) {
    return log(allowed);
  }
  SoftTexture* created = SoftTexture::Create(*this, width, height, format, pool);
  if (created == nullptr) {
    return log(D3dResult::OutOfVideoMemory);
  }
  *texture = created;
  return log(D3dResult::Ok);
}

D3dResult SoftDevice::MakeStandaloneSurface(const SurfaceDesc& desc, Surface** surface) {
  std::unique_ptr<SoftSurface> created = SoftSurface::Create(*this, desc, nullptr);
  if (created == nullptr) {
    return D3dResult::OutOfVideoMemory;
  }
  *surface = created.release();
  return D3dResult::Ok;
}

D3dResult SoftDevice::CreateRenderTarget(uint32_t width, uint32_t height, Format format,
                                         MultiSample multiSample, uint32_t quality, bool lockable,
                                         Surface** surface) {
  const auto log = [&](D3dResult result) {
    return Logged(DeviceCallKind::CreateRenderTarget, result, width, height, Value(format));
  };
  if (surface == nullptr) {
    return log(D3dResult::InvalidCall);
  }
  *surface = nullptr;
  if (multiSample != MultiSample::None || quality != 0) {
    return log(D3dResult::InvalidCall);
  }
  const D3dResult allowed =
      CheckSurfaceRequest(width, height, format, DeviceOperation::CreateRenderTarget);
  if (Failed(allowed)) {
    return log(allowed);
  }
  const SurfaceDesc desc{width, height, format, Pool::Default, lockable, SurfaceKind::RenderTarget};
  return log(MakeStandaloneSurface(desc, surface));
}

D3dResult SoftDevice::CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format,
                                                  Pool pool, Surface** surface) {
  const auto log = [&](D3dResult result) {
    return Logged(DeviceCallKind::CreateOffscreenPlainSurface, result, width, height,
                  Value(format));
  };
  if (surface == nullptr) {
    return log(D3dResult::InvalidCall);
  }
  *surface = nullptr;
  // Off-screen plain surfaces cannot be managed.
  if (pool != Pool::SystemMem && pool != Pool::Default) {
    return log(D3dResult::InvalidCall);
  }
  const D3dResult allowed =
      CheckSurfaceRequest(width, height, format, DeviceOperation::CreateOffscreenPlainSurface);
  if (Failed(allowed)) {
    return log(allowed);
  }
  const SurfaceDesc desc{width, height, format, pool, true, SurfaceKind::OffscreenPlain};
  return log(MakeStandaloneSurface(desc, surface));
}

D3dResult SoftDevice::SetRenderState(RenderState state, uint32_t value) {
  renderStates_[Value(state)] = value;
  return Logged(DeviceCallKind::SetRenderState, D3dResult::Ok, Value(state), value);
}

D3dResult SoftDevice::SetFVF(uint32_t fvf) {
  fvf_ = fvf;
  return Logged(DeviceCallKind::SetFVF, D3dResult::Ok, fvf);
}

D3dResult SoftDevice::SetTexture(uint32_t stage, Texture* texture) {
  const uint32_t given = texture != nullptr ? 1 : 0;
  auto* soft = dynamic_cast<SoftTexture*>(texture);
  const bool foreign = texture != nullptr && (soft == nullptr || &soft->Device() != this);
  if (stage >= kTextureStages || foreign) {
    return Logged(DeviceCallKind::SetTexture, D3dResult::InvalidCall, stage, given);
  }
  // Not a counted reference: a texture unbinds itself when it goes away.
  textures_[stage] = soft;
  return Logged(DeviceCallKind::SetTexture, D3dResult::Ok, stage, given);
}

D3dResult SoftDevice::SetTextureStageState(uint32_t stage, TextureStageState state,
                                           uint32_t value) {
  if (stage >= kTextureStages) {
    return Logged(DeviceCallKind::SetTextureStageState, D3dResult::InvalidCall, stage, Value(state),
                  value);
  }
  stageStates_[{stage, Value(state)}] = value;
  return Logged(DeviceCallKind::SetTextureStageState, D3dResult::Ok, stage, Value(state), value);
}

D3dResult SoftDevice::SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value) {
  if (sampler >= kTextureStages) {
    return Logged(DeviceCallKind::SetSamplerState, D3dResult::InvalidCall, sampler, Value(state),
                  value);
  }
  samplerStates_[{sampler, Value(state)}] = value;
  return Logged(DeviceCallKind::SetSamplerState, D3dResult::Ok, sampler, Value(state), value);
}

D3dResult SoftDevice::SetSoftwareVertexProcessing(bool software) {
  // Only a mixed device can switch; the others accept their own mode only.
  const bool fixedSoftware = (behaviorFlags_ & kSoftwareVertexProcessing) != 0;
  const bool fixedHardware = (behaviorFlags_ & kHardwareVertexProcessing) != 0;
  if ((fixedSoftware && !software) || (fixedHardware && software)) {
    return Logged(DeviceCallKind::SetSoftwareVertexProcessing, D3dResult::InvalidCall,
                  software ? 1 : 0);
  }
  softwareVertexProcessing_ = software;
  return Logged(DeviceCallKind::SetSoftwareVertexProcessing, D3dResult::Ok, software ? 1 : 0);
}

D3dResult SoftDevice::DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                      const void* vertices, uint32_t stride) {
  return Logged(DeviceCallKind::DrawPrimitiveUP, DrawQuad(type, primitiveCount, vertices, stride),
                Value(type), primitiveCount, stride);
}

D3dResult SoftDevice::DrawQuad(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                               uint32_t stride) {
  const uint32_t quadFvf = FvfBits(Fvf::XyzRhw, Fvf::Tex1);
  if (!inScene_ || type != PrimitiveType::TriangleStrip || primitiveCount != 2 ||
      vertices == nullptr || stride != kQuadVertexStride || fvf_ != quadFvf) {
    return D3dResult::InvalidCall;
  }
  // Only screen-aligned quads are rendered; anything else is refused
  // rather than drawn wrongly.
  ScreenQuad quad;
  if (!ReadScreenQuad(vertices, &quad)) {
    return D3dResult::InvalidCall;
  }
  QuadBlend blend;
  if (RenderStateValue(RenderState::AlphaBlendEnable) != kFalse) {
    const uint32_t source = RenderStateValue(RenderState::SrcBlend);
    const uint32_t destination = RenderStateValue(RenderState::DestBlend);
    const auto known = [](uint32_t factor) {
      return factor == Value(Blend::One) || factor == Value(Blend::Zero);
    };
    if (!known(source) || !known(destination)) {
      return D3dResult::InvalidCall;
    }
    blend.source = source == Value(Blend::One);
    blend.destination = destination == Value(Blend::One);
  }
  // With no texture the quad samples nothing; it is skipped.
  if (textures_[0] != nullptr) {
    DrawScreenQuad(quad, textures_[0]->Level0(), *backBuffer_, blend);
  }
  return D3dResult::Ok;
}

uint32_t SoftDevice::RenderStateValue(RenderState state) const {
  const auto found = renderStates_.find(Value(state));
  return found == renderStates_.end() ? 0 : found->second;
}

uint32_t SoftDevice::TextureStageStateValue(uint32_t stage, TextureStageState state) const {
  const auto found = stageStates_.find({stage, Value(state)});
  return found == stageStates_.end() ? 0 : found->second;
}

uint32_t SoftDevice::SamplerStateValue(uint32_t sampler, SamplerState state) const {
  const auto found = samplerStates_.find({sampler, Value(state)});
  return found == samplerStates_.end() ? 0 : found->second;
}

const SoftTexture* SoftDevice::BoundTexture(uint32_t stage) const {
  return stage < kTextureStages ? textures_[stage] : nullptr;
}

void SoftDevice::StandaloneSurfaceCreated(const SurfaceDesc& desc) {
  AddRef();
  ++live_.surfaces;
  if (desc.pool == Pool::Default) {
    ++liveDefaultPool_;
  }
}

void SoftDevice::StandaloneSurfaceDestroyed(const SurfaceDesc& desc) {
  if (desc.pool == Pool::Default) {
    --liveDefaultPool_;
  }
  --live_.surfaces;
  Release();
}

void SoftDevice::TextureCreated() {
  AddRef();
  ++live_.textures;
}

void SoftDevice::TextureDestroyed(const SoftTexture* texture) {
  for (SoftTexture*& bound : textures_) {
    if (bound == texture) {
      bound = nullptr;
    }
  }
  --live_.textures;
  Release();
}

}  // namespace drawing::platform::soft
