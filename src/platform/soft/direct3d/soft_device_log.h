// A record of the calls made on a software Direct3D device, so tests can
// check what the display layer asked for and how often (render states set
// only on change, no Present while inactive, ...). Only counts are kept
// unless a test asks for the calls: a program runs for days.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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
inline constexpr size_t kDeviceCallKinds = 17;

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

class DeviceCallLog {
 public:
  void Record(const DeviceCall& call) {
    ++counts_[static_cast<size_t>(call.kind)];
    if (keepCalls_) {
      calls_.push_back(call);
    }
  }

  const std::vector<DeviceCall>& Calls() const { return calls_; }
  std::vector<DeviceCall> CallsOf(DeviceCallKind kind) const {
    std::vector<DeviceCall> found;
    for (const DeviceCall& call : calls_) {
      if (call.kind == kind) {
        found.push_back(call);
      }
    }
    return found;
  }
  // Calls of a kind since the device was made or the log last cleared; kept
  // even when the calls themselves are not.
  uint32_t Count(DeviceCallKind kind) const { return counts_[static_cast<size_t>(kind)]; }

  void Clear() {
    calls_.clear();
    counts_.fill(0);
  }
  // Keeps every call from now on (tests only); the counts go on either way.
  void KeepCalls(bool keep) { keepCalls_ = keep; }

 private:
  std::vector<DeviceCall> calls_;
  std::array<uint32_t, kDeviceCallKinds> counts_{};
  bool keepCalls_ = false;
};

}  // namespace drawing::platform::soft
