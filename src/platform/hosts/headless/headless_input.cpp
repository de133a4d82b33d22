#include "platform/hosts/headless/headless_input.h"

namespace drawing::platform::headless {

namespace {

// Whether a call fails now; counts down a limited fault.
bool Consume(int32_t& counter) {
  if (counter == kFailAlways) {
    return true;
  }
  if (counter > 0) {
    --counter;
    return true;
  }
  return false;
}

std::optional<DiResult> FailIf(bool fail) {
  return fail ? std::optional(DiResult::Fail) : std::nullopt;
}

}  // namespace

HeadlessInput::HeadlessInput()
    : soft::SoftInput(static_cast<soft::InputHost&>(*this), /*focused=*/true) {}

DeviceFaults& HeadlessInput::Faults(DeviceGuid device) {
  return device == DeviceGuid::SysKeyboard ? keyboardFaults_ : mouseFaults_;
}

std::optional<DiResult> HeadlessInput::Fault(InputCallKind call, DeviceGuid device) {
  DeviceFaults& faults = Faults(device);
  switch (call) {
    case InputCallKind::LoadLibrary:
      return FailIf(failLoadLibrary_);
    case InputCallKind::GetProcAddress:
      return FailIf(failGetProcAddress_);
    case InputCallKind::DirectInputCreateEx:
      return FailIf(failCreate_);
    case InputCallKind::CreateDeviceEx:
      return FailIf(faults.createDevice);
    case InputCallKind::SetDataFormat:
      return FailIf(Consume(faults.setDataFormat));
    case InputCallKind::SetCooperativeLevel:
      return FailIf(Consume(faults.setCooperativeLevel));
    case InputCallKind::SetProperty:
      return FailIf(Consume(faults.setProperty));
    case InputCallKind::Acquire:
      return FailIf(Consume(faults.acquire));
    case InputCallKind::GetDeviceState:
    case InputCallKind::GetDeviceData:
      return Consume(faults.reads) ? std::optional(faults.readCode) : std::nullopt;
    default:
      return std::nullopt;
  }
}

void HeadlessInput::AddEvent(uint32_t frame, const InputEvent& event) {
  timeline_[frame].push_back(event);
}

void HeadlessInput::BeginFrame(uint32_t frame) {
  SetTimeStamp(frame);
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
