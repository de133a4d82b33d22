#include "input/mouse.h"

#include <algorithm>
#include <limits>

#include "input/device_setup.h"

namespace drawing::input {
namespace {

// A frame's motion so far plus one record's (a signed value in the record's
// data), held at the ends of the range: a sum past them would wrap to the
// other sign, turning a far move right into one left.
int32_t AddMove(int32_t sum, uint32_t data) {
  const int64_t total = int64_t{sum} + static_cast<int32_t>(data);
  return static_cast<int32_t>(std::clamp<int64_t>(total, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

Mouse::Mouse(DirectInputHolder& directInput, const display::ScreenFocus& screen,
             platform::Windowing& windowing)
    : directInput_(directInput), screen_(screen), windowing_(windowing) {}

int32_t Mouse::OpenMouse() {
  platform::DirectInput* object = directInput_.OpenDirectInput();
  initAttempted_ = 1;
  if (object == nullptr) {
    return 0;
  }
  if (!CreateFormattedDevice(*object, platform::DeviceGuid::SysMouse, MouseFormat, device_)) {
    return 0;
  }
  status_ = MouseStatus::MouseNeedsSetup;
  return 1;
}

bool Mouse::RunSetup() {
  return device_->SetCooperativeLevel(screen_.ScreenWindow(), kCooperativeLevel) ==
             platform::DiResult::Ok &&
         device_->SetProperty(platform::DiProperty::BufferSize, kMouseBufferSize) ==
             platform::DiResult::Ok &&
         device_->Acquire() == platform::DiResult::Ok;
}

void Mouse::ApplyRecords(uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    const platform::DiDeviceObjectData& record = MouseEvents[i];
    const int32_t pressed = (record.dwData & kPressed) != 0 ? 1 : 0;
    switch (record.dwOfs) {
      case platform::OffsetOf(platform::Dimofs::X):
        mouseState_.moveX = AddMove(mouseState_.moveX, record.dwData);
        break;
      case platform::OffsetOf(platform::Dimofs::Y):
        mouseState_.moveY = AddMove(mouseState_.moveY, record.dwData);
        break;
      case platform::OffsetOf(platform::Dimofs::Button0):
        mouseState_.button1 = pressed;
        break;
      case platform::OffsetOf(platform::Dimofs::Button1):
        mouseState_.button2 = pressed;
        break;
      case platform::OffsetOf(platform::Dimofs::Button2):
        mouseState_.button3 = pressed;
        break;
      default:  // the wheel and the fourth button are not used
        break;
    }
  }
}

int32_t Mouse::PollMouse() {
  mouseState_.moveX = 0;
  mouseState_.moveY = 0;
  // Without a usable device there is nothing to read; the buttons stay as they are.
  if (status_ == MouseStatus::MouseAbsent) {
    return 0;
  }
  if (ScreenHasFocus() == 0) {
    UnacquireMouse();
    return 0;
  }
  if (status_ == MouseStatus::MouseNeedsSetup && RunSetup()) {
    status_ = MouseStatus::MouseReady;
  }
  uint32_t count = kMouseBufferRecords;
  const platform::DiResult result =
      device_->GetDeviceData(sizeof(platform::DiDeviceObjectData), MouseEvents.data(), &count, 0);
  switch (result) {
    case platform::DiResult::Ok:
      ApplyRecords(count);
      return 1;
    case platform::DiResult::BufferOverflow:
      // Lost records may have let a button go: take the left and right buttons as up.
      mouseState_.button1 = 0;
      mouseState_.button2 = 0;
      return 0;
    case platform::DiResult::InputLost:
    case platform::DiResult::NotAcquired:
      // Before the set-up has succeeded its own Acquire comes next poll: a
      // device acquired now would refuse the set-up calls from then on.
      if (status_ == MouseStatus::MouseReady && ScreenHasFocus() != 0) {
        platform::IgnoreResult(device_->Acquire());  // the next poll tells
      }
      return 0;
    default:
      return 0;
  }
}

int32_t Mouse::MouseButtonDown(int32_t button) const {
  switch (button) {
    case 1:
      return mouseState_.button1;
    case 2:
      return mouseState_.button2;
    case 3:
      return mouseState_.button3;
    default:
      return 0;
  }
}

void Mouse::UnacquireMouse() {
  if (device_ != nullptr) {
    device_->Unacquire();
  }
}

void Mouse::CloseMouse() {
  if (initAttempted_ == 0) {
    return;
  }
  windowing_.ClipCursor(nullptr);
  if (device_ != nullptr) {
    device_->Release();
    device_ = nullptr;
  }
  directInput_.CloseDirectInput();
}

}  // namespace drawing::input
