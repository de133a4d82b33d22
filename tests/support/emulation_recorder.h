// Keeps what a test watches of the emulation, in order: the calls on the
// device made last (since it was made or the record last cleared), the
// messages delivered to window procedures and to DefWindowProc, the other
// window calls, and the DirectInput calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "platform/soft/direct3d/soft_device_call.h"
#include "platform/soft/input/soft_input.h"
#include "platform/soft/kit/emulation_observer.h"
#include "platform/soft/windowing/soft_windowing.h"
#include "platform/windowing.h"

namespace drawing::support {

class EmulationRecorder final : public platform::soft::EmulationObserver {
 public:
  using DeviceCall = platform::soft::DeviceCall;
  using DeviceCallKind = platform::soft::DeviceCallKind;
  using InputCall = platform::soft::InputCall;
  using InputCallKind = platform::soft::InputCallKind;
  using WindowCallKind = platform::soft::WindowCallKind;

  // Watches the Direct3D, windows and DirectInput of a headless host.
  template <typename Host>
  void Watch(Host& host) {
    host.Direct3D().SetObserver(this);
    host.Windowing().SetObserver(this);
    host.Input().SetObserver(this);
  }

  void DeviceMade() override { ClearDeviceCalls(); }
  void DeviceCalled(const DeviceCall& call) override { deviceCalls_.push_back(call); }
  void MessageDelivered(const platform::Msg& msg) override { delivered_.push_back(msg); }
  void MessageDefaulted(const platform::Msg& msg) override { defaulted_.push_back(msg); }
  void WindowCalled(WindowCallKind call) override { windowCalls_.push_back(call); }
  void InputCalled(const InputCall& call) override { inputCalls_.push_back(call); }

  const std::vector<DeviceCall>& DeviceCalls() const { return deviceCalls_; }
  std::vector<DeviceCall> DeviceCallsOf(DeviceCallKind kind) const {
    return Matching(deviceCalls_, [kind](const DeviceCall& call) { return call.kind == kind; });
  }
  uint32_t DeviceCallCount(DeviceCallKind kind) const {
    return static_cast<uint32_t>(
        std::count_if(deviceCalls_.begin(), deviceCalls_.end(),
                      [kind](const DeviceCall& call) { return call.kind == kind; }));
  }
  void ClearDeviceCalls() { deviceCalls_.clear(); }

  const std::vector<platform::Msg>& DeliveredMessages() const { return delivered_; }
  const std::vector<platform::Msg>& DefWindowProcMessages() const { return defaulted_; }
  uint32_t WindowCallCount(WindowCallKind kind) const {
    return static_cast<uint32_t>(std::count(windowCalls_.begin(), windowCalls_.end(), kind));
  }

  const std::vector<InputCall>& InputCalls() const { return inputCalls_; }
  // Calls of one kind (on one device).
  std::vector<InputCall> InputCallsOf(InputCallKind kind) const {
    return Matching(inputCalls_, [kind](const InputCall& call) { return call.kind == kind; });
  }
  std::vector<InputCall> InputCallsOf(InputCallKind kind, platform::DeviceGuid device) const {
    return Matching(inputCalls_, [kind, device](const InputCall& call) {
      return call.kind == kind && call.device == device;
    });
  }
  void ClearInputCalls() { inputCalls_.clear(); }

 private:
  template <typename Call, typename Predicate>
  static std::vector<Call> Matching(const std::vector<Call>& calls, Predicate predicate) {
    std::vector<Call> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found), predicate);
    return found;
  }

  std::vector<DeviceCall> deviceCalls_;
  std::vector<platform::Msg> delivered_;
  std::vector<platform::Msg> defaulted_;
  std::vector<WindowCallKind> windowCalls_;
  std::vector<InputCall> inputCalls_;
};

}  // namespace drawing::support
