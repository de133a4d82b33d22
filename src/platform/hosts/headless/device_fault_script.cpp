#include "platform/hosts/headless/device_fault_script.h"

namespace drawing::platform::headless {

void DeviceFaultScript::LoseDevice(uint32_t now, uint32_t lostForMs) {
  loss_ = Loss{true, false, now, lostForMs};
}

D3dResult DeviceFaultScript::LossState(uint32_t now) const {
  if (!loss_.active) {
    return D3dResult::Ok;
  }
  // Unsigned, so a clock that wraps keeps measuring forwards.
  if (!loss_.resetNeeded && static_cast<uint32_t>(now - loss_.start) < loss_.duration) {
    return D3dResult::DeviceLost;
  }
  return D3dResult::DeviceNotReset;
}

void DeviceFaultScript::RequireReset() {
  loss_.active = true;
  loss_.resetNeeded = true;
}

void DeviceFaultScript::QueueCooperativeCodes(const std::vector<D3dResult>& codes) {
  codes_.insert(codes_.end(), codes.begin(), codes.end());
}

bool DeviceFaultScript::TakeCooperativeCode(D3dResult* code) {
  if (codes_.empty()) {
    return false;
  }
  *code = codes_.front();
  codes_.pop_front();
  return true;
}

void DeviceFaultScript::Fail(FaultyCall call, int32_t count, D3dResult result) {
  failures_[static_cast<size_t>(call)] = Failure{count, result};
}

D3dResult DeviceFaultScript::Take(FaultyCall call) {
  Failure& failure = failures_[static_cast<size_t>(call)];
  if (failure.count == 0) {
    return D3dResult::Ok;
  }
  if (failure.count > 0) {
    --failure.count;
  }
  return failure.result;
}

}  // namespace drawing::platform::headless
