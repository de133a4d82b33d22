// What a test can watch of the emulation: each call a program makes on the
// software Direct3D device or on DirectInput, with its result, each message
// handed to a window procedure or to DefWindowProc, and the few window
// calls tests count. Nobody watches unless a test attaches an observer, and
// the emulation keeps no record of its own: a program that runs for days
// grows nothing.
#pragma once

#include <cstdint>

namespace drawing::platform {
struct Msg;
}

namespace drawing::platform::soft {

struct DeviceCall;
struct InputCall;
enum class WindowCallKind : uint8_t;

class EmulationObserver {
 public:
  // A device was made: the device calls reported from now on are its.
  virtual void DeviceMade() {}
  virtual void DeviceCalled(const DeviceCall& /*call*/) {}
  // Handed to a window procedure, dispatched or sent.
  virtual void MessageDelivered(const Msg& /*msg*/) {}
  virtual void MessageDefaulted(const Msg& /*msg*/) {}
  virtual void WindowCalled(WindowCallKind /*call*/) {}
  // On the module, the object or a device.
  virtual void InputCalled(const InputCall& /*call*/) {}

 protected:
  ~EmulationObserver() = default;
};

}  // namespace drawing::platform::soft
