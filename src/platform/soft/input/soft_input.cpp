#include "platform/soft/input/soft_input.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/soft/kit/emulation_observer.h"

namespace drawing::platform::soft {

namespace {

constexpr uint32_t kDirectInputVersion = 0x0700;
constexpr int32_t kKeyCount = 256;
constexpr int32_t kButtonCount = 4;
constexpr uint32_t kPressed = 0x80;

}  // namespace

// The DirectInput object. Kept by its module after the program released it,
// so a stale call is answered instead of crashing.
class SoftInput::Object final : public DirectInput {
 public:
  explicit Object(SoftInput& owner) : owner_(owner) {}
  ~Object() override = default;

  uint32_t Release() override {
    owner_.Record(
        {InputCallKind::ObjectRelease, DeviceGuid::SysKeyboard, references_, DiResult::Ok});
    if (references_ > 0) {
      --references_;
    }
    return references_;
  }

  DiResult CreateDeviceEx(DeviceGuid device, InputDevice** out) override {
    if (out == nullptr) {
      return DiResult::InvalidParam;
    }
    *out = nullptr;
    if (references_ == 0) {
      owner_.Record({InputCallKind::CreateDeviceEx, device, 0, DiResult::Fail});
      return DiResult::Fail;
    }
    return owner_.CreateDevice(device, out);
  }

  bool Alive() const { return references_ > 0; }

 private:
  SoftInput& owner_;
  uint32_t references_ = 1;
};

// ---------------------------------------------------------------------------
// Devices

SoftInputDevice::SoftInputDevice(SoftInput& owner, DeviceGuid kind)
    : owner_(owner),
      kind_(kind),
      // DirectInput's default: non-exclusive, background.
      cooperativeFlags_(DisclBits(Discl::NonExclusive, Discl::Background)) {}

DiResult SoftInputDevice::Log(InputCallKind call, DiResult result, uint32_t value) {
  owner_.Record({call, kind_, value, result});
  return result;
}

bool SoftInputDevice::Foreground() const {
  return DisclHas(cooperativeFlags_, Discl::Foreground);
}

void SoftInputDevice::SetAcquired(bool acquired) {
  lostPending_ = false;
  if (acquired_ == acquired) {
    return;
  }
  acquired_ = acquired;
  // Records are collected from the moment of acquisition on.
  buffer_.Clear();
  if (kind_ == DeviceGuid::SysMouse) {
    owner_.host_.MouseAcquired(acquired);
  }
}

uint32_t SoftInputDevice::Release() {
  Log(InputCallKind::DeviceRelease, DiResult::Ok, references_);
  if (references_ > 0) {
    --references_;
  }
  if (references_ == 0) {
    SetAcquired(false);
  }
  return references_;
}

DiResult SoftInputDevice::SetDataFormat(const DiDataFormat& format) {
  const InputCallKind call = InputCallKind::SetDataFormat;
  // As with DirectInput, the format, the cooperative level and the buffer
  // size cannot change while the device is acquired.
  if (Released() || owner_.host_.Fault(call, kind_) || acquired_) {
    return Log(call, DiResult::Fail, format.dwDataSize);
  }
  if (format.dwSize != 24 || format.dwObjSize != 16 ||
      (format.dwNumObjs > 0 && format.rgodf == nullptr)) {
    return Log(call, DiResult::InvalidParam, format.dwDataSize);
  }
  format_ = format;
  formatRows_.assign(format.rgodf, format.rgodf + format.dwNumObjs);
  format_.rgodf = formatRows_.data();
  hasFormat_ = true;
  return Log(call, DiResult::Ok, format.dwDataSize);
}

DiResult SoftInputDevice::SetCooperativeLevel(Hwnd window, uint32_t flags) {
  const InputCallKind call = InputCallKind::SetCooperativeLevel;
  if (Released() || owner_.host_.Fault(call, kind_)) {
    return Log(call, DiResult::Fail, flags);
  }
  if (acquired_) {
    return Log(call, DiResult::Acquired, flags);
  }
  if (window == nullptr || !ValidCooperativeLevel(flags)) {
    return Log(call, DiResult::InvalidParam, flags);
  }
  window_ = window;
  cooperativeFlags_ = flags;
  return Log(call, DiResult::Ok, flags);
}

DiResult SoftInputDevice::SetProperty(DiProperty property, const DiPropDword& value) {
  const InputCallKind call = InputCallKind::SetProperty;
  if (Released() || owner_.host_.Fault(call, kind_)) {
    return Log(call, DiResult::Fail, value.dwData);
  }
  if (acquired_) {
    return Log(call, DiResult::Acquired, value.dwData);
  }
  if (property != DiProperty::BufferSize || value.diph.dwSize != 20 ||
      value.diph.dwHeaderSize != 16 || value.diph.dwObj != 0 || value.diph.dwHow != Diph::Device) {
    return Log(call, DiResult::InvalidParam, value.dwData);
  }
  buffer_.SetCapacity(value.dwData);
  return Log(call, DiResult::Ok, value.dwData);
}

DiResult SoftInputDevice::Acquire() {
  const InputCallKind call = InputCallKind::Acquire;
  if (Released() || owner_.host_.Fault(call, kind_)) {
    return Log(call, DiResult::Fail);
  }
  if (!HasDataFormat()) {
    return Log(call, DiResult::InvalidParam);
  }
  if (Foreground() && !owner_.Focused()) {
    return Log(call, DiResult::OtherAppHasPrio);
  }
  SetAcquired(true);
  return Log(call, DiResult::Ok);
}

DiResult SoftInputDevice::Unacquire() {
  SetAcquired(false);
  return Log(InputCallKind::Unacquire, DiResult::Ok);
}

DiResult SoftInputDevice::NotAcquiredResult() {
  if (lostPending_) {
    lostPending_ = false;
    return DiResult::InputLost;
  }
  return DiResult::NotAcquired;
}

DiResult SoftInputDevice::GetDeviceState(uint32_t size, void* data) {
  const InputCallKind call = InputCallKind::GetDeviceState;
  if (Released()) {
    return Log(call, DiResult::Fail, size);
  }
  if (const auto fault = owner_.host_.Fault(call, kind_)) {
    return Log(call, *fault, size);
  }
  if (!acquired_) {
    return Log(call, NotAcquiredResult(), size);
  }
  if (data == nullptr || size != format_.dwDataSize) {
    return Log(call, DiResult::InvalidParam, size);
  }
  auto* bytes = static_cast<uint8_t*>(data);
  std::memset(bytes, 0, size);
  if (kind_ == DeviceGuid::SysKeyboard) {
    for (int32_t code = 0; code < kKeyCount && static_cast<uint32_t>(code) < size; ++code) {
      bytes[code] = owner_.KeyHeld(code) ? kPressed : 0;
    }
  } else {
    // Motion is only reported through the buffer; the axes read as still.
    for (int32_t button = 1; button <= kButtonCount; ++button) {
      const uint32_t offset = OffsetOf(Dimofs::Button0) + static_cast<uint32_t>(button - 1);
      if (offset < size) {
        bytes[offset] = owner_.ButtonHeld(button) ? kPressed : 0;
      }
    }
  }
  return Log(call, DiResult::Ok, size);
}

DiResult SoftInputDevice::GetDeviceData(uint32_t objectDataSize, DiDeviceObjectData* records,
                                        uint32_t* count, uint32_t flags) {
  const InputCallKind call = InputCallKind::GetDeviceData;
  if (count == nullptr) {
    return Log(call, DiResult::InvalidParam);
  }
  const uint32_t wanted = *count;
  *count = 0;
  if (Released()) {
    return Log(call, DiResult::Fail);
  }
  if (const auto fault = owner_.host_.Fault(call, kind_)) {
    return Log(call, *fault);
  }
  if (!acquired_) {
    return Log(call, NotAcquiredResult());
  }
  // Only plain reads are offered; a null record array discards records.
  if (objectDataSize != sizeof(DiDeviceObjectData) || flags != 0 || buffer_.Capacity() == 0) {
    return Log(call, DiResult::InvalidParam);
  }
  *count = wanted;
  const DiResult result = buffer_.Take(records, count);
  return Log(call, result, *count);
}

void SoftInputDevice::FocusLost() {
  if (acquired_ && Foreground()) {
    SetAcquired(false);
    lostPending_ = true;
  }
}

void SoftInputDevice::Queue(const DiDeviceObjectData& record) {
  if (acquired_) {
    buffer_.Push(record);
  }
}

// ---------------------------------------------------------------------------
// The module and the physical devices

SoftInput::SoftInput(InputHost& host, bool focused) : host_(host), focused_(focused) {}
SoftInput::~SoftInput() = default;

void SoftInput::Record(const InputCall& call) {
  if (observer_ != nullptr) {
    observer_->InputCalled(call);
  }
}

bool SoftInput::LoadLibrary() {
  libraryLoaded_ =
      !host_.Fault(InputCallKind::LoadLibrary, DeviceGuid::SysKeyboard) && host_.OpenInput();
  Record({InputCallKind::LoadLibrary, DeviceGuid::SysKeyboard, 0,
          libraryLoaded_ ? DiResult::Ok : DiResult::Fail});
  return libraryLoaded_;
}

bool SoftInput::GetProcAddress() {
  procFound_ =
      libraryLoaded_ && !host_.Fault(InputCallKind::GetProcAddress, DeviceGuid::SysKeyboard);
  Record({InputCallKind::GetProcAddress, DeviceGuid::SysKeyboard, 0,
          procFound_ ? DiResult::Ok : DiResult::Fail});
  return procFound_;
}

DiResult SoftInput::DirectInputCreateEx(Hinstance /*instance*/, uint32_t version,
                                        DirectInput** out) {
  DiResult result = DiResult::Ok;
  if (out == nullptr || version != kDirectInputVersion) {
    result = DiResult::InvalidParam;
  } else if (!libraryLoaded_ || !procFound_ ||
             host_.Fault(InputCallKind::DirectInputCreateEx, DeviceGuid::SysKeyboard)) {
    result = DiResult::Fail;
  }
  Record({InputCallKind::DirectInputCreateEx, DeviceGuid::SysKeyboard, version, result});
  if (out == nullptr) {
    return result;
  }
  *out = nullptr;
  if (result != DiResult::Ok) {
    return result;
  }
  if (object_ != nullptr) {
    releasedObjects_.push_back(std::move(object_));
  }
  object_ = std::make_unique<Object>(*this);
  *out = object_.get();
  return result;
}

void SoftInput::FreeLibrary() {
  Record({InputCallKind::FreeLibrary, DeviceGuid::SysKeyboard, 0, DiResult::Ok});
  if (libraryLoaded_) {
    host_.CloseInput();
  }
  libraryLoaded_ = false;
  procFound_ = false;
}

DiResult SoftInput::CreateDevice(DeviceGuid device, InputDevice** out) {
  if (host_.Fault(InputCallKind::CreateDeviceEx, device)) {
    Record({InputCallKind::CreateDeviceEx, device, 0, DiResult::Fail});
    return DiResult::Fail;
  }
  devices_.push_back(std::make_unique<SoftInputDevice>(*this, device));
  *out = devices_.back().get();
  Record({InputCallKind::CreateDeviceEx, device, 0, DiResult::Ok});
  return DiResult::Ok;
}

bool SoftInput::ObjectAlive() const {
  return object_ != nullptr && object_->Alive();
}

SoftInputDevice* SoftInput::Device(DeviceGuid device) const {
  for (auto it = devices_.rbegin(); it != devices_.rend(); ++it) {
    if ((*it)->Kind() == device) {
      return it->get();
    }
  }
  return nullptr;
}

void SoftInput::KeyDown(int32_t code) {
  if (code >= 0 && code < kKeyCount) {
    keys_[code] = true;
  }
}

void SoftInput::KeyUp(int32_t code) {
  if (code >= 0 && code < kKeyCount) {
    keys_[code] = false;
  }
}

bool SoftInput::KeyHeld(int32_t code) const {
  return code >= 0 && code < kKeyCount && keys_[code];
}

void SoftInput::QueueMouseRecord(uint32_t offset, uint32_t data) {
  const DiDeviceObjectData record{offset, data, timeStamp_, ++sequence_};
  for (const auto& device : devices_) {
    if (device->Kind() == DeviceGuid::SysMouse) {
      device->Queue(record);
    }
  }
}

void SoftInput::Move(int32_t dx, int32_t dy) {
  if (dx != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::X), static_cast<uint32_t>(dx));
  }
  if (dy != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::Y), static_cast<uint32_t>(dy));
  }
}

void SoftInput::Wheel(int32_t dz) {
  if (dz != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::Z), static_cast<uint32_t>(dz));
  }
}

void SoftInput::Button(int32_t button, bool down) {
  if (button < 1 || button > kButtonCount) {
    return;
  }
  buttons_[button - 1] = down;
  QueueMouseRecord(OffsetOf(Dimofs::Button0) + static_cast<uint32_t>(button - 1),
                   down ? kPressed : 0);
}

bool SoftInput::ButtonHeld(int32_t button) const {
  return button >= 1 && button <= kButtonCount && buttons_[button - 1];
}

void SoftInput::ForgetHeld() {
  std::fill(std::begin(keys_), std::end(keys_), false);
  std::fill(std::begin(buttons_), std::end(buttons_), false);
}

void SoftInput::SetFocus(bool focused) {
  if (focused == focused_) {
    return;
  }
  focused_ = focused;
  if (!focused) {
    for (const auto& device : devices_) {
      device->FocusLost();
    }
  }
  if (focusListener_) {
    focusListener_(focused);
  }
}

void SoftInput::SetFocusListener(std::function<void(bool focused)> listener) {
  focusListener_ = std::move(listener);
}

}  // namespace drawing::platform::soft
