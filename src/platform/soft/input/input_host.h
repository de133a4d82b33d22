// What the software DirectInput asks of the place its keyboard and mouse are.
//
// The rules of a DirectInput 7 device (acquisition, cooperative levels,
// buffered records and their overflow, the not-acquired results) are
// SoftInput's and the same everywhere. A host feeds the physical keyboard,
// mouse and focus into SoftInput from wherever they come from (SDL events,
// an input script, another program's window) and answers these few
// questions.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/direct_input.h"

namespace drawing::platform::soft {

// Every call the program makes on the module, the object or a device.
enum class InputCallKind : uint8_t {
  LoadLibrary,
  GetProcAddress,
  DirectInputCreateEx,
  FreeLibrary,
  ObjectRelease,
  CreateDeviceEx,
  SetDataFormat,
  SetCooperativeLevel,
  SetProperty,
  Acquire,
  Unacquire,
  GetDeviceState,
  GetDeviceData,
  DeviceRelease,
};

class InputHost {
 public:
  // LoadLibrary: whether the host's input can start at all.
  virtual bool OpenInput() { return true; }
  // FreeLibrary.
  virtual void CloseInput() {}
  // A failure scripted for this call (module calls name SysKeyboard), or
  // none: the call follows the rules.
  virtual std::optional<DiResult> Fault(InputCallKind /*call*/, DeviceGuid /*device*/) {
    return std::nullopt;
  }
  // The system mouse was acquired or let go: a host that can capture the
  // pointer for relative motion does so.
  virtual void MouseAcquired(bool /*acquired*/) {}

 protected:
  ~InputHost() = default;
};

}  // namespace drawing::platform::soft
