// Creating a keyboard or mouse device and giving it its data format, the
// part of opening that both devices share.
#pragma once

#include "platform/direct_input.h"

namespace drawing::input {

// Creates the device into `device` unless it already holds one (a device
// whose format an earlier call refused is reused rather than leaked), then
// sets `format`. False when either step fails; `device` keeps whatever
// device exists.
bool CreateFormattedDevice(platform::DirectInput& object, platform::DeviceGuid kind,
                           const platform::DiDataFormat& format, platform::InputDevice*& device);

}  // namespace drawing::input
