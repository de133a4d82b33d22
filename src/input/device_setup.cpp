#include "input/device_setup.h"

namespace drawing::input {

bool CreateFormattedDevice(platform::DirectInput& object, platform::DeviceGuid kind,
                           const platform::DiDataFormat& format, platform::InputDevice*& device) {
  if (device == nullptr && object.CreateDeviceEx(kind, &device) != platform::DiResult::Ok) {
    device = nullptr;
    return false;
  }
  return device != nullptr && device->SetDataFormat(format) == platform::DiResult::Ok;
}

}  // namespace drawing::input
