// A call made on a software Direct3D device, as an EmulationObserver is told
// of it, so tests can check what the display layer asked for and how often
// (render states set only on change, no Present while inactive, ...).
#pragma once

#include <cstdint>

#include "platform/direct3d.h"

namespace drawing::platform::soft {

enum class DeviceCallKind : uint8_t {
  TestCooperativeLevel,
  Reset,
  Present,
  BeginScene,
  EndScene,
  Clear,
  GetBackBuffer,
  CreateTexture,
  CreateRenderTarget,
  CreateOffscreenPlainSurface,
  SetRenderState,
  SetFVF,
  SetTexture,
  SetTextureStageState,
  SetSamplerState,
  SetSoftwareVertexProcessing,
  DrawPrimitiveUP,
};

// Arguments by kind: SetRenderState (state, value); SetFVF (fvf); SetTexture
// (stage, 1 with a texture / 0 without); SetTextureStageState and
// SetSamplerState (stage, state, value); SetSoftwareVertexProcessing (0/1);
// Clear (colour, rectangle count); DrawPrimitiveUP (type, primitive count,
// stride); CreateTexture, CreateRenderTarget, CreateOffscreenPlainSurface
// and Reset (width, height, format); the others none.
struct DeviceCall {
  DeviceCallKind kind = DeviceCallKind::TestCooperativeLevel;
  uint32_t a = 0;
  uint32_t b = 0;
  uint32_t c = 0;
  D3dResult result = D3dResult::Ok;
};

}  // namespace drawing::platform::soft
