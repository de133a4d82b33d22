#include "platform/sdl/sdl_input_device.h"

#include <cstring>

#include "platform/sdl/sdl_input.h"

namespace drawing::platform::sdl {

namespace {

constexpr uint32_t kKeyboardStateSize = 256;
constexpr uint32_t kMouseFirstButton = static_cast<uint32_t>(Dimofs::Button0);
constexpr uint32_t kMouseButtons = 4;
constexpr uint8_t kPressed = 0x80;

}  // namespace

SdlInputDevice::SdlInputDevice(SdlInput& owner, DeviceGuid kind)
    : owner_(owner),
      kind_(kind),
      cooperativeFlags_(DisclBits(Discl::NonExclusive, Discl::Background)) {}

uint32_t SdlInputDevice::Release() {
  if (--references_ > 0) {
    return references_;
  }
  SetAcquired(false);
  owner_.DeviceReleased(this);  // deletes this device
  return 0;
}

DiResult SdlInputDevice::SetDataFormat(const DiDataFormat& format) {
  // The format is fixed while the device is acquired.
  if (acquired_) {
    return DiResult::Fail;
  }
  if (format.dwSize != 24 || format.dwObjSize != 16 || format.dwDataSize == 0 ||
      (format.dwNumObjs > 0 && format.rgodf == nullptr)) {
    return DiResult::InvalidParam;
  }
  dataSize_ = format.dwDataSize;
  return DiResult::Ok;
}

DiResult SdlInputDevice::SetCooperativeLevel(Hwnd window, uint32_t flags) {
  if (window == nullptr || !ValidCooperativeLevel(flags)) {
    return DiResult::InvalidParam;
  }
  cooperativeFlags_ = flags;
  return DiResult::Ok;
}

DiResult SdlInputDevice::SetProperty(DiProperty property, const DiPropDword& value) {
  if (property != DiProperty::BufferSize || value.diph.dwSize != 20 ||
      value.diph.dwHeaderSize != 16 || value.diph.dwObj != 0 || value.diph.dwHow != Diph::Device) {
    return DiResult::InvalidParam;
  }
  buffer_.SetCapacity(value.dwData);
  return DiResult::Ok;
}

bool SdlInputDevice::Foreground() const {
  return DisclHas(cooperativeFlags_, Discl::Foreground);
}

void SdlInputDevice::SetAcquired(bool acquired) {
  if (acquired_ == acquired) {
    return;
  }
  acquired_ = acquired;
  if (acquired) {
    // Records are collected from the moment of acquisition on.
    buffer_.Clear();
    lostPending_ = false;
  }
  if (kind_ == DeviceGuid::SysMouse) {
    owner_.SetRelativeMouse(acquired);
  }
}

DiResult SdlInputDevice::Acquire() {
  if (dataSize_ == 0) {
    return DiResult::InvalidParam;
  }
  if (Foreground() && !owner_.Focused()) {
    return DiResult::OtherAppHasPrio;
  }
  SetAcquired(true);
  return DiResult::Ok;
}

DiResult SdlInputDevice::Unacquire() {
  SetAcquired(false);
  lostPending_ = false;
  return DiResult::Ok;
}

void SdlInputDevice::FocusLost() {
  if (acquired_ && Foreground()) {
    SetAcquired(false);
    lostPending_ = true;
  }
}

DiResult SdlInputDevice::NotAcquiredResult() {
  if (lostPending_) {
    lostPending_ = false;
    return DiResult::InputLost;
  }
  return DiResult::NotAcquired;
}

DiResult SdlInputDevice::GetDeviceState(uint32_t size, void* data) {
  if (!acquired_) {
    return NotAcquiredResult();
  }
  if (data == nullptr || size != dataSize_) {
    return DiResult::InvalidParam;
  }
  auto* bytes = static_cast<uint8_t*>(data);
  std::memset(bytes, 0, size);
  if (kind_ == DeviceGuid::SysKeyboard) {
    for (uint32_t code = 0; code < kKeyboardStateSize && code < size; ++code) {
      bytes[code] = owner_.KeyHeld(static_cast<uint8_t>(code)) ? kPressed : 0;
    }
  } else {
    // Motion is only reported through the buffer; the axes read as still.
    for (uint32_t button = 0; button < kMouseButtons; ++button) {
      if (kMouseFirstButton + button < size) {
        bytes[kMouseFirstButton + button] = owner_.ButtonHeld(button) ? kPressed : 0;
      }
    }
  }
  return DiResult::Ok;
}

DiResult SdlInputDevice::GetDeviceData(uint32_t objectDataSize, DiDeviceObjectData* records,
                                       uint32_t* count, uint32_t flags) {
  if (count == nullptr) {
    return DiResult::InvalidParam;
  }
  if (!acquired_) {
    *count = 0;
    return NotAcquiredResult();
  }
  // Only plain reads are offered; a null record array discards records.
  if (objectDataSize != sizeof(DiDeviceObjectData) || flags != 0 || buffer_.Capacity() == 0) {
    *count = 0;
    return DiResult::InvalidParam;
  }
  return buffer_.Take(records, count);
}

void SdlInputDevice::Queue(const DiDeviceObjectData& record) {
  if (acquired_) {
    buffer_.Push(record);
  }
}

}  // namespace drawing::platform::sdl
