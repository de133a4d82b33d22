// Direct3D 9 as the display uses it: the adapter's modes, the exclusive
// full-screen device, its back buffer, textures and surfaces.
//
// The interfaces mirror the COM objects: each carries AddRef/Release and is
// destroyed by its last Release; methods keep their published names.
#pragma once

#include <cstdint>

#include "platform/handles.h"
#include "platform/port_result.h"

namespace drawing::platform {

enum class D3dResult : uint32_t {
  Ok = 0,
  Fail = 0x80004005u,
  OutOfMemory = 0x8007000Eu,
  DriverInternalError = 0x88760827u,
  OutOfVideoMemory = 0x8876017Cu,
  DeviceLost = 0x88760868u,
  DeviceNotReset = 0x88760869u,
  NotAvailable = 0x8876086Au,
  InvalidCall = 0x8876086Cu,
};

constexpr bool Succeeded(D3dResult result) {
  return static_cast<int32_t>(result) >= 0;
}
constexpr bool Failed(D3dResult result) {
  return !Succeeded(result);
}

enum class Format : uint32_t {
  Unknown = 0,
  R8G8B8 = 20,
  A8R8G8B8 = 21,
  X8R8G8B8 = 22,
  R5G6B5 = 23,
  X1R5G5B5 = 24,
  A1R5G5B5 = 25,
};

enum class DevType : uint32_t { Hal = 1 };
enum class Pool : uint32_t { Default = 0, Managed = 1, SystemMem = 2 };
enum class SwapEffect : uint32_t { Discard = 1, Flip = 2, Copy = 3 };
enum class MultiSample : uint32_t { None = 0 };
enum class BackBufferType : uint32_t { Mono = 0 };
enum class PrimitiveType : uint32_t { TriangleStrip = 5 };

enum class PresentInterval : uint32_t { Default = 0, One = 1, Immediate = 0x80000000u };

// Bit values of behaviour flags, present flags, caps, clear and lock flags.
enum class CreateFlag : uint32_t { SoftwareVertexProcessing = 0x20, MixedVertexProcessing = 0x80 };
enum class PresentFlag : uint32_t { LockableBackbuffer = 0x1 };
enum class DevCap : uint32_t { HwTransformAndLight = 0x00010000u };
enum class ClearFlag : uint32_t { Target = 0x1 };
enum class LockFlag : uint32_t { None = 0, ReadOnly = 0x10 };

enum class RenderState : uint32_t {
  SrcBlend = 19,
  DestBlend = 20,
  AlphaBlendEnable = 27,
  MultisampleAntialias = 161,
};
enum class Blend : uint32_t { Zero = 1, One = 2 };

enum class TextureStageState : uint32_t { ColorOp = 1, AlphaOp = 4 };
enum class TextureOp : uint32_t { SelectArg1 = 2 };

enum class SamplerState : uint32_t { MagFilter = 5, MinFilter = 6 };
enum class TextureFilter : uint32_t { Point = 1 };

// Flexible vertex format bits: x, y, z, rhw then one (u, v) pair.
enum class Fvf : uint32_t { XyzRhw = 0x004, Tex1 = 0x100 };
constexpr uint32_t FvfBits(Fvf a, Fvf b) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(b);
}

struct DisplayMode {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t RefreshRate = 0;
  Format format = Format::Unknown;
};

struct PresentParameters {
  uint32_t BackBufferWidth = 0;
  uint32_t BackBufferHeight = 0;
  Format BackBufferFormat = Format::Unknown;
  uint32_t BackBufferCount = 0;
  MultiSample MultiSampleType = MultiSample::None;
  uint32_t MultiSampleQuality = 0;
  SwapEffect swapEffect = SwapEffect::Discard;
  Hwnd hDeviceWindow = nullptr;
  bool Windowed = false;
  bool EnableAutoDepthStencil = false;
  Format AutoDepthStencilFormat = Format::Unknown;
  uint32_t Flags = 0;
  uint32_t FullScreen_RefreshRateInHz = 0;
  PresentInterval PresentationInterval = PresentInterval::Default;
};

struct Caps {
  uint32_t DevCaps = 0;
};

struct LockedRect {
  int32_t Pitch = 0;  // bytes from one row to the next
  void* pBits = nullptr;
};

class Unknown {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~Unknown() = default;
};

class Surface : public Unknown {
 public:
  // A null rect locks the whole surface. Rows are top-down, Pitch bytes apart.
  DRAWING_NODISCARD virtual D3dResult LockRect(LockedRect* locked, const Rect* rect,
                                               LockFlag flags) = 0;
  virtual D3dResult UnlockRect() = 0;
  // A GDI context whose drawing lands in the surface by ReleaseDC.
  DRAWING_NODISCARD virtual D3dResult GetDC(Hdc* dc) = 0;
  virtual D3dResult ReleaseDC(Hdc dc) = 0;
};

class Texture : public Unknown {
 public:
  DRAWING_NODISCARD virtual D3dResult GetSurfaceLevel(uint32_t level, Surface** surface) = 0;
  DRAWING_NODISCARD virtual D3dResult LockRect(uint32_t level, LockedRect* locked, const Rect* rect,
                                               LockFlag flags) = 0;
  virtual D3dResult UnlockRect(uint32_t level) = 0;
};

class Device : public Unknown {
 public:
  DRAWING_NODISCARD virtual D3dResult TestCooperativeLevel() = 0;
  DRAWING_NODISCARD virtual D3dResult Reset(PresentParameters* parameters) = 0;
  // Present(NULL, NULL, NULL, NULL): the whole back buffer to the window.
  DRAWING_NODISCARD virtual D3dResult Present() = 0;
  DRAWING_NODISCARD virtual D3dResult BeginScene() = 0;
  virtual D3dResult EndScene() = 0;
  virtual D3dResult Clear(uint32_t count, const Rect* rects, ClearFlag flags, uint32_t color,
                          float z, uint32_t stencil) = 0;
  DRAWING_NODISCARD virtual D3dResult GetBackBuffer(uint32_t swapChain, uint32_t index,
                                                    BackBufferType type, Surface** surface) = 0;
  DRAWING_NODISCARD virtual D3dResult CreateTexture(uint32_t width, uint32_t height,
                                                    uint32_t levels, uint32_t usage, Format format,
                                                    Pool pool, Texture** texture) = 0;
  DRAWING_NODISCARD virtual D3dResult CreateRenderTarget(uint32_t width, uint32_t height,
                                                         Format format, MultiSample multiSample,
                                                         uint32_t quality, bool lockable,
                                                         Surface** surface) = 0;
  DRAWING_NODISCARD virtual D3dResult CreateOffscreenPlainSurface(uint32_t width, uint32_t height,
                                                                  Format format, Pool pool,
                                                                  Surface** surface) = 0;
  virtual D3dResult SetRenderState(RenderState state, uint32_t value) = 0;
  virtual D3dResult SetFVF(uint32_t fvf) = 0;
  virtual D3dResult SetTexture(uint32_t stage, Texture* texture) = 0;
  virtual D3dResult SetTextureStageState(uint32_t stage, TextureStageState state,
                                         uint32_t value) = 0;
  virtual D3dResult SetSamplerState(uint32_t sampler, SamplerState state, uint32_t value) = 0;
  virtual D3dResult SetSoftwareVertexProcessing(bool software) = 0;
  virtual D3dResult DrawPrimitiveUP(PrimitiveType type, uint32_t primitiveCount,
                                    const void* vertices, uint32_t stride) = 0;
};

class Direct3D : public Unknown {
 public:
  DRAWING_NODISCARD virtual uint32_t GetAdapterModeCount(uint32_t adapter, Format format) = 0;
  DRAWING_NODISCARD virtual D3dResult EnumAdapterModes(uint32_t adapter, Format format,
                                                       uint32_t mode, DisplayMode* out) = 0;
  DRAWING_NODISCARD virtual D3dResult CheckDeviceType(uint32_t adapter, DevType type,
                                                      Format displayFormat, Format backBufferFormat,
                                                      bool windowed) = 0;
  DRAWING_NODISCARD virtual D3dResult GetDeviceCaps(uint32_t adapter, DevType type, Caps* caps) = 0;
  DRAWING_NODISCARD virtual D3dResult CreateDevice(uint32_t adapter, DevType type, Hwnd focusWindow,
                                                   uint32_t behaviorFlags,
                                                   PresentParameters* parameters,
                                                   Device** device) = 0;
};

// "d3d9.dll" loaded at run time: LoadLibraryA, GetProcAddress("Direct3DCreate9")
// and the call itself. Each step can fail; the library is never unloaded.
class Direct3DModule {
 public:
  virtual ~Direct3DModule() = default;
  DRAWING_NODISCARD virtual bool LoadLibrary() = 0;
  DRAWING_NODISCARD virtual bool GetProcAddress() = 0;
  // Only after both steps above succeeded. Null on failure.
  DRAWING_NODISCARD virtual Direct3D* Direct3DCreate9(uint32_t sdkVersion) = 0;
};

}  // namespace drawing::platform
