#include "platform/headless/headless_input.h"

#include <algorithm>
#include <cstring>

namespace drawing::platform::headless {

namespace {

constexpr uint32_t kDirectInputVersion = 0x0700;
constexpr int32_t kKeyCount = 256;
constexpr int32_t kButtonCount = 4;
constexpr uint32_t kPressed = 0x80;

}  // namespace

// The DirectInput object. Kept alive by its HeadlessInput after the program
// released it, so a stale call is answered instead of crashing.
class HeadlessInput::Object final : public DirectInput {
 public:
  explicit Object(HeadlessInput& owner) : owner_(owner) {}
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
  HeadlessInput& owner_;
  uint32_t references_ = 1;
};

// ---------------------------------------------------------------------------
// Devices

HeadlessInputDevice::HeadlessInputDevice(HeadlessInput& owner, DeviceGuid kind)
    : owner_(owner),
      kind_(kind),
      // DirectInput's default: non-exclusive, background.
      cooperativeFlags_(DisclBits(Discl::NonExclusive, Discl::Background)) {}

DiResult HeadlessInputDevice::Log(InputCallKind kind, DiResult result, uint32_t value) {
  owner_.Record({kind, kind_, value, result});
  return result;
}

uint32_t HeadlessInputDevice::Release() {
  Log(InputCallKind::DeviceRelease, DiResult::Ok, references_);
  if (references_ > 0) {
    --references_;
  }
  if (references_ == 0) {
    acquired_ = false;
    lostPending_ = false;
    queue_.clear();
    overflow_ = false;
  }
  return references_;
}

DiResult HeadlessInputDevice::SetDataFormat(const DiDataFormat& format) {
  const InputCallKind call = InputCallKind::SetDataFormat;
  // As with DirectInput, the format, the cooperative level and the buffer
  // size cannot change while the device is acquired.
  if (Released() || HeadlessInput::Consume(owner_.Faults(kind_).setDataFormat) || acquired_) {
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

DiResult HeadlessInputDevice::SetCooperativeLevel(Hwnd window, uint32_t flags) {
  const InputCallKind call = InputCallKind::SetCooperativeLevel;
  if (Released() || HeadlessInput::Consume(owner_.Faults(kind_).setCooperativeLevel)) {
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

DiResult HeadlessInputDevice::SetProperty(DiProperty property, const DiPropDword& value) {
  const InputCallKind call = InputCallKind::SetProperty;
  if (Released() || HeadlessInput::Consume(owner_.Faults(kind_).setProperty)) {
    return Log(call, DiResult::Fail, value.dwData);
  }
  if (acquired_) {
    return Log(call, DiResult::Acquired, value.dwData);
  }
  if (property != DiProperty::BufferSize || value.diph.dwSize != 20 ||
      value.diph.dwHeaderSize != 16 || value.diph.dwObj != 0 || value.diph.dwHow != Diph::Device) {
    return Log(call, DiResult::InvalidParam, value.dwData);
  }
  bufferSize_ = value.dwData;
  return Log(call, DiResult::Ok, value.dwData);
}

DiResult HeadlessInputDevice::Acquire() {
  const InputCallKind call = InputCallKind::Acquire;
  if (Released() || HeadlessInput::Consume(owner_.Faults(kind_).acquire)) {
    return Log(call, DiResult::Fail);
  }
  if (!hasFormat_) {
    return Log(call, DiResult::InvalidParam);
  }
  if (DisclHas(cooperativeFlags_, Discl::Foreground) && !owner_.Focused()) {
    return Log(call, DiResult::OtherAppHasPrio);
  }
  if (!acquired_) {
    // Events are collected from the moment of acquisition on.
    acquired_ = true;
    lostPending_ = false;
    queue_.clear();
    overflow_ = false;
  }
  return Log(call, DiResult::Ok);
}

DiResult HeadlessInputDevice::Unacquire() {
  acquired_ = false;
  lostPending_ = false;
  return Log(InputCallKind::Unacquire, DiResult::Ok);
}

DiResult HeadlessInputDevice::NotAcquiredResult() {
  if (lostPending_) {
    lostPending_ = false;
    return DiResult::InputLost;
  }
  return DiResult::NotAcquired;
}

DiResult HeadlessInputDevice::GetDeviceState(uint32_t size, void* data) {
  const InputCallKind call = InputCallKind::GetDeviceState;
  DeviceFaults& faults = owner_.Faults(kind_);
  if (Released()) {
    return Log(call, DiResult::Fail, size);
  }
  if (HeadlessInput::Consume(faults.reads)) {
    return Log(call, faults.readCode, size);
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
    // Axes read as no motion; the button bytes follow them.
    for (int32_t button = 1; button <= kButtonCount; ++button) {
      const uint32_t offset = OffsetOf(Dimofs::Button0) + static_cast<uint32_t>(button - 1);
      if (offset < size) {
        bytes[offset] = owner_.ButtonHeld(button) ? kPressed : 0;
      }
    }
  }
  return Log(call, DiResult::Ok, size);
}

DiResult HeadlessInputDevice::GetDeviceData(uint32_t objectDataSize, DiDeviceObjectData* records,
                                            uint32_t* count, uint32_t flags) {
  const InputCallKind call = InputCallKind::GetDeviceData;
  DeviceFaults& faults = owner_.Faults(kind_);
  if (count == nullptr) {
    return Log(call, DiResult::InvalidParam);
  }
  const uint32_t wanted = *count;
  *count = 0;
  if (Released()) {
    return Log(call, DiResult::Fail);
  }
  if (HeadlessInput::Consume(faults.reads)) {
    return Log(call, faults.readCode);
  }
  if (!acquired_) {
    return Log(call, NotAcquiredResult());
  }
  // Only plain reads are modelled; a null record array discards records.
  if (objectDataSize != sizeof(DiDeviceObjectData) || flags != 0 || bufferSize_ == 0) {
    return Log(call, DiResult::InvalidParam);
  }
  const std::size_t taken = std::min<std::size_t>(wanted, queue_.size());
  if (records != nullptr) {
    std::copy_n(queue_.begin(), taken, records);
  }
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(taken));
  *count = static_cast<uint32_t>(taken);
  const DiResult result = overflow_ ? DiResult::BufferOverflow : DiResult::Ok;
  overflow_ = false;
  return Log(call, result, *count);
}

void HeadlessInputDevice::FocusLost() {
  if (acquired_ && DisclHas(cooperativeFlags_, Discl::Foreground)) {
    acquired_ = false;
    lostPending_ = true;
    queue_.clear();
    overflow_ = false;
  }
}

void HeadlessInputDevice::QueueRecord(uint32_t offset, uint32_t data, uint32_t timeStamp,
                                      uint32_t sequence) {
  if (!acquired_ || bufferSize_ == 0) {
    return;
  }
  // A full buffer keeps its oldest records and remembers that it lost some.
  if (queue_.size() >= bufferSize_) {
    overflow_ = true;
    return;
  }
  queue_.push_back({offset, data, timeStamp, sequence});
}

// ---------------------------------------------------------------------------
// The module and the physical devices

HeadlessInput::HeadlessInput() = default;
HeadlessInput::~HeadlessInput() = default;

bool HeadlessInput::Consume(int32_t& counter) {
  if (counter == kFailAlways) {
    return true;
  }
  if (counter > 0) {
    --counter;
    return true;
  }
  return false;
}

bool HeadlessInput::LoadLibrary() {
  libraryLoaded_ = !failLoadLibrary_;
  Record({InputCallKind::LoadLibrary, DeviceGuid::SysKeyboard, 0,
          libraryLoaded_ ? DiResult::Ok : DiResult::Fail});
  return libraryLoaded_;
}

bool HeadlessInput::GetProcAddress() {
  procFound_ = libraryLoaded_ && !failGetProcAddress_;
  Record({InputCallKind::GetProcAddress, DeviceGuid::SysKeyboard, 0,
          procFound_ ? DiResult::Ok : DiResult::Fail});
  return procFound_;
}

DiResult HeadlessInput::DirectInputCreateEx(Hinstance /*instance*/, uint32_t version,
                                            DirectInput** out) {
  DiResult result = DiResult::Ok;
  if (out == nullptr || version != kDirectInputVersion) {
    result = DiResult::InvalidParam;
  } else if (!libraryLoaded_ || !procFound_ || failCreate_) {
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

void HeadlessInput::FreeLibrary() {
  Record({InputCallKind::FreeLibrary, DeviceGuid::SysKeyboard, 0, DiResult::Ok});
  libraryLoaded_ = false;
  procFound_ = false;
}

DiResult HeadlessInput::CreateDevice(DeviceGuid device, InputDevice** out) {
  if (Faults(device).createDevice) {
    Record({InputCallKind::CreateDeviceEx, device, 0, DiResult::Fail});
    return DiResult::Fail;
  }
  devices_.push_back(std::make_unique<HeadlessInputDevice>(*this, device));
  *out = devices_.back().get();
  Record({InputCallKind::CreateDeviceEx, device, 0, DiResult::Ok});
  return DiResult::Ok;
}

bool HeadlessInput::ObjectAlive() const {
  return object_ != nullptr && object_->Alive();
}

HeadlessInputDevice* HeadlessInput::Device(DeviceGuid device) const {
  for (auto it = devices_.rbegin(); it != devices_.rend(); ++it) {
    if ((*it)->Kind() == device) {
      return it->get();
    }
  }
  return nullptr;
}

DeviceFaults& HeadlessInput::Faults(DeviceGuid device) {
  return device == DeviceGuid::SysKeyboard ? keyboardFaults_ : mouseFaults_;
}

std::vector<InputCall> HeadlessInput::CallsOf(InputCallKind kind) const {
  std::vector<InputCall> found;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
               [kind](const InputCall& call) { return call.kind == kind; });
  return found;
}

std::vector<InputCall> HeadlessInput::CallsOf(InputCallKind kind, DeviceGuid device) const {
  std::vector<InputCall> found;
  std::copy_if(
      calls_.begin(), calls_.end(), std::back_inserter(found),
      [kind, device](const InputCall& call) { return call.kind == kind && call.device == device; });
  return found;
}

void HeadlessInput::KeyDown(int32_t code) {
  if (code >= 0 && code < kKeyCount) {
    keys_[code] = true;
  }
}

void HeadlessInput::KeyUp(int32_t code) {
  if (code >= 0 && code < kKeyCount) {
    keys_[code] = false;
  }
}

bool HeadlessInput::KeyHeld(int32_t code) const {
  return code >= 0 && code < kKeyCount && keys_[code];
}

void HeadlessInput::QueueMouseRecord(uint32_t offset, uint32_t data) {
  ++sequence_;
  for (const auto& device : devices_) {
    if (device->Kind() == DeviceGuid::SysMouse && !device->Released()) {
      device->QueueRecord(offset, data, frame_, sequence_);
    }
  }
}

void HeadlessInput::Move(int32_t dx, int32_t dy) {
  if (dx != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::X), static_cast<uint32_t>(dx));
  }
  if (dy != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::Y), static_cast<uint32_t>(dy));
  }
}

void HeadlessInput::Wheel(int32_t dz) {
  if (dz != 0) {
    QueueMouseRecord(OffsetOf(Dimofs::Z), static_cast<uint32_t>(dz));
  }
}

void HeadlessInput::Button(int32_t button, bool down) {
  if (button < 1 || button > kButtonCount) {
    return;
  }
  buttons_[button - 1] = down;
  QueueMouseRecord(OffsetOf(Dimofs::Button0) + static_cast<uint32_t>(button - 1),
                   down ? kPressed : 0);
}

bool HeadlessInput::ButtonHeld(int32_t button) const {
  return button >= 1 && button <= kButtonCount && buttons_[button - 1];
}

void HeadlessInput::SetFocus(bool focused) {
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

void HeadlessInput::SetFocusListener(std::function<void(bool focused)> listener) {
  focusListener_ = std::move(listener);
}

void HeadlessInput::AddEvent(uint32_t frame, const InputEvent& event) {
  timeline_[frame].push_back(event);
}

void HeadlessInput::BeginFrame(uint32_t frame) {
  frame_ = frame;
  const auto found = timeline_.find(frame);
  if (found == timeline_.end()) {
    return;
  }
  for (const InputEvent& event : found->second) {
    Apply(event);
  }
}

uint32_t HeadlessInput::LastScriptedFrame() const {
  return timeline_.empty() ? 0 : timeline_.rbegin()->first;
}

void HeadlessInput::Apply(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::KeyDown:
      KeyDown(event.a);
      break;
    case InputEvent::Kind::KeyUp:
      KeyUp(event.a);
      break;
    case InputEvent::Kind::Move:
      Move(event.a, event.b);
      break;
    case InputEvent::Kind::Wheel:
      Wheel(event.a);
      break;
    case InputEvent::Kind::Button:
      Button(event.a, event.b != 0);
      break;
    case InputEvent::Kind::Focus:
      SetFocus(event.a != 0);
      break;
  }
}

}  // namespace drawing::platform::headless
