// The real DirectInput 7 declarations and the wrappers of its objects.
#pragma once

#include "platform/win32/win32_api.h"
//
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0700
#endif
#include <dinput.h>

#include <vector>

#include "platform/direct_input.h"

namespace drawing::platform::win32 {

inline DiResult FromNativeResult(HRESULT result) {
  return static_cast<DiResult>(static_cast<uint32_t>(result));
}

// The GUID a data-format row names (null for none), and the rows of a format
// as DirectInput reads them.
const GUID* ToNative(ObjectGuid guid);
std::vector<DIOBJECTDATAFORMAT> ToNativeRows(const DiDataFormat& format);

class Win32InputDevice final : public InputDevice {
 public:
  explicit Win32InputDevice(IDirectInputDevice7A* native) : native_(native) {}
  Win32InputDevice(const Win32InputDevice&) = delete;
  Win32InputDevice& operator=(const Win32InputDevice&) = delete;

  uint32_t Release() override;
  DiResult SetDataFormat(const DiDataFormat& format) override;
  DiResult SetCooperativeLevel(Hwnd window, uint32_t flags) override;
  DiResult SetProperty(DiProperty property, const DiPropDword& value) override;
  DiResult Acquire() override;
  DiResult Unacquire() override;
  DiResult GetDeviceState(uint32_t size, void* data) override;
  DiResult GetDeviceData(uint32_t objectDataSize, DiDeviceObjectData* records, uint32_t* count,
                         uint32_t flags) override;

 private:
  ~Win32InputDevice() override = default;
  IDirectInputDevice7A* native_;
};

class Win32DirectInput final : public DirectInput {
 public:
  explicit Win32DirectInput(IDirectInput7A* native) : native_(native) {}
  Win32DirectInput(const Win32DirectInput&) = delete;
  Win32DirectInput& operator=(const Win32DirectInput&) = delete;

  uint32_t Release() override;
  DiResult CreateDeviceEx(DeviceGuid device, InputDevice** out) override;

 private:
  ~Win32DirectInput() override = default;
  IDirectInput7A* native_;
};

}  // namespace drawing::platform::win32
