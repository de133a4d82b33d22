// The device faults of the headless host: when the device is lost and for
// how long, scripted answers of TestCooperativeLevel, and calls that fail.
//
// A loss starts at a moment of the fake clock: TestCooperativeLevel reports
// DeviceLost for the given number of milliseconds, then DeviceNotReset until
// a Reset succeeds; Present fails with DeviceLost and Reset with DeviceLost
// meanwhile (Reset only while the device is still lost, not once it can be
// reset). Queued answers take precedence over the loss state, one per call,
// so any sequence (a driver error on the third test, say) can be written.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "platform/direct3d.h"
#include "platform/hosts/headless/headless_input.h"

namespace drawing::platform::headless {

enum class FaultyCall : uint8_t {
  CreateDevice,
  Present,
  Reset,
  GetDC,
  CreateTexture,
  CreateRenderTarget,
  CreateOffscreenPlainSurface,
  GetBackBuffer,
};
inline constexpr size_t kFaultyCalls = 8;

class DeviceFaultScript {
 public:
  // The device is lost from `now` on (see above).
  void LoseDevice(uint32_t now, uint32_t lostForMs);
  // Ok, DeviceLost or DeviceNotReset at `now`.
  D3dResult LossState(uint32_t now) const;
  // A reset succeeded: the loss is over.
  void EndLoss() { loss_ = Loss{}; }
  // A reset failed: the device must be reset before it can be used again.
  void RequireReset();

  // Answers for the next TestCooperativeLevel calls, in order.
  void QueueCooperativeCodes(const std::vector<D3dResult>& codes);
  // The next queued answer, if there is one.
  bool TakeCooperativeCode(D3dResult* code);
  size_t QueuedCooperativeCodes() const { return codes_.size(); }

  // The next `count` calls fail with `result` (kFailAlways: every call from
  // now on; 0: none).
  void Fail(FaultyCall call, int32_t count, D3dResult result = D3dResult::Fail);
  // Ok, or the scripted failure of this call (which it uses up).
  D3dResult Take(FaultyCall call);

 private:
  struct Loss {
    bool active = false;
    bool resetNeeded = false;  // lost time is over, or a reset failed
    uint32_t start = 0;
    uint32_t duration = 0;
  };
  struct Failure {
    int32_t count = 0;
    D3dResult result = D3dResult::Fail;
  };

  Loss loss_;
  std::deque<D3dResult> codes_;
  std::array<Failure, kFaultyCalls> failures_{};
};

}  // namespace drawing::platform::headless
