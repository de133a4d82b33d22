#include "input/keyboard.h"

#include <cassert>

#include "input/data_formats.h"
#include "input/device_setup.h"

namespace drawing::input {

Keyboard::Keyboard(runtime::MainHeap& heap, DirectInputHolder& directInput,
                   const display::ScreenFocus& screen)
    : heap_(heap), directInput_(directInput), screen_(screen) {}

int32_t Keyboard::OpenKeyboard() {
  platform::DirectInput* object = directInput_.OpenDirectInput();
  initAttempted_ = 1;
  if (object == nullptr) {
    return 0;
  }
  if (status_ != KeyboardStatus::KeyboardAbsent) {
    return 1;
  }
  if (formatRows_ == nullptr) {
    formatRows_ = NewKeyboardFormatRows(heap_);
    if (formatRows_ == nullptr) {
      return 0;
    }
    keyboardFormat_ = KeyboardFormatFor(formatRows_);
  }
  if (!CreateFormattedDevice(*object, platform::DeviceGuid::SysKeyboard, keyboardFormat_,
                             device_)) {
    return 0;
  }
  status_ = KeyboardStatus::KeyboardNeedsAcquire;
  return 1;
}

int32_t Keyboard::PollKeyboard() {
  // Without a usable device there is nothing to read, and the tests keep answering 0.
  if (status_ == KeyboardStatus::KeyboardAbsent) {
    return 0;
  }
  if (status_ == KeyboardStatus::KeyboardNeedsAcquire) {
    // Failures here show up as a failed read below.
    platform::IgnoreResult(device_->SetCooperativeLevel(screen_.ScreenWindow(), kCooperativeLevel));
    platform::IgnoreResult(device_->Acquire());
    status_ = KeyboardStatus::KeyboardReady;
  }
  if (device_->GetDeviceState(static_cast<uint32_t>(keyboardState_.size()),
                              keyboardState_.data()) != platform::DiResult::Ok) {
    status_ = KeyboardStatus::KeyboardNeedsAcquire;
    return 0;
  }
  return 1;
}

namespace {

// Key codes come from outside (the application, scripts): a contract in
// debug builds, since a code out of range would read beyond the snapshot.
[[maybe_unused]] bool ValidKey(int32_t key) {
  return key == AnyKey || (key >= 0 && key < 256);
}

}  // namespace

int32_t Keyboard::KeyIsDown(int32_t key) const {
  assert(ValidKey(key));
  if (status_ != KeyboardStatus::KeyboardReady) {
    return 0;
  }
  if (key == AnyKey) {
    for (int32_t code = 0; code < kScannedKeys; ++code) {
      if (Held(code)) {
        return 1;
      }
    }
    return 0;
  }
  return keyboardState_[static_cast<size_t>(key)] & kHeld;
}

int32_t Keyboard::ReleaseOf(int32_t key) {
  uint8_t& latch = keyLatch_[static_cast<size_t>(key)];
  if (Held(key)) {
    latch = 1;
    return 0;
  }
  if (latch == 1) {
    latch = 0;
    return 1;
  }
  return 0;
}

int32_t Keyboard::KeyReleased(int32_t key) {
  assert(ValidKey(key));
  if (status_ != KeyboardStatus::KeyboardReady) {
    return 0;
  }
  if (key != AnyKey) {
    return ReleaseOf(key);
  }
  // Every code is visited, so every latch is brought up to date.
  int32_t released = 0;
  for (int32_t code = 0; code < kScannedKeys; ++code) {
    released |= ReleaseOf(code);
  }
  return released;
}

void Keyboard::CloseKeyboard() {
  if (initAttempted_ == 0) {
    return;
  }
  if (device_ != nullptr) {
    device_->Unacquire();
    device_->Release();
    device_ = nullptr;
  }
  directInput_.CloseDirectInput();
}

}  // namespace drawing::input
