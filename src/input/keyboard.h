// The keyboard: one snapshot of all 256 key codes per frame, read through
// DirectInput, and the two tests the program makes on it.
#pragma once

#include <array>
#include <cstdint>

#include "display/screen_focus.h"
#include "input/direct_input_holder.h"
#include "platform/direct_input.h"
#include "runtime/main_heap.h"

namespace drawing::input {

enum class KeyboardStatus : int32_t {
  KeyboardAbsent = 0,
  KeyboardNeedsAcquire = 1,
  KeyboardReady = 2,
};

// Key argument meaning "any of the codes 0..254".
inline constexpr int32_t AnyKey = -1;
// The codes AnyKey looks at: 0..254; code 255 is never looked at.
inline constexpr int32_t kScannedKeys = 255;
inline constexpr int32_t kKeyEscape = 1;
inline constexpr int32_t kKeyS = 31;

class Keyboard {
 public:
  Keyboard(runtime::MainHeap& heap, DirectInputHolder& directInput,
           const display::ScreenFocus& screen);
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // 1 when the device was created now, non-zero when it already existed,
  // 0 on failure. Opens the shared DirectInput object whatever happens.
  int32_t OpenKeyboard();
  // 1 when the snapshot was read; 0 otherwise (the tests then answer 0 until
  // a read succeeds). Binds and acquires the device first when it needs it.
  int32_t PollKeyboard();
  // For a code (0..255): 128 when held, else 0. For AnyKey: 1 when any of
  // 0..254 is held.
  int32_t KeyIsDown(int32_t key) const;
  // 1 once for a key that an earlier call saw held and that is now up.
  // AnyKey reports any such key and clears all their latches.
  int32_t KeyReleased(int32_t key);
  // Gives up the device and the shared DirectInput object.
  void CloseKeyboard();

  KeyboardStatus Status() const { return status_; }
  platform::InputDevice* Device() const { return device_; }
  const platform::DiDataFormat& KeyboardFormat() const { return keyboardFormat_; }
  const std::array<uint8_t, 256>& KeyboardState() const { return keyboardState_; }
  const std::array<uint8_t, 256>& KeyLatch() const { return keyLatch_; }

 private:
  static constexpr uint32_t kCooperativeLevel = 0x16;  // non-exclusive, foreground, no Windows key
  static constexpr uint8_t kHeld = 0x80;

  bool Held(int32_t key) const { return (keyboardState_[static_cast<size_t>(key)] & kHeld) != 0; }
  int32_t ReleaseOf(int32_t key);

  runtime::MainHeap& heap_;
  DirectInputHolder& directInput_;
  const display::ScreenFocus& screen_;

  platform::InputDevice* device_ = nullptr;
  KeyboardStatus status_ = KeyboardStatus::KeyboardAbsent;
  int32_t initAttempted_ = 0;
  platform::DiObjectDataFormat* formatRows_ = nullptr;
  platform::DiDataFormat keyboardFormat_{};
  std::array<uint8_t, 256> keyboardState_{};
  std::array<uint8_t, 256> keyLatch_{};
};

}  // namespace drawing::input
