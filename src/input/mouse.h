// The mouse: the relative motion and the buttons since the previous frame,
// read from DirectInput's event buffer once per frame.
#pragma once

#include <array>
#include <cstdint>

#include "display/screen_focus.h"
#include "input/data_formats.h"
#include "input/direct_input_holder.h"
#include "platform/direct_input.h"
#include "platform/windowing.h"

namespace drawing::input {

enum class MouseStatus : int32_t {
  MouseAbsent = 0,  // before a successful OpenMouse
  MouseNeedsSetup = 1,
  MouseReady = 2,
};

// The results of the last poll. Moves are the sums of that poll's motion
// reports (positive right and down); button flags carry over between polls.
struct MouseState {
  int32_t moveX = 0;
  int32_t moveY = 0;
  int32_t button1 = 0;  // left
  int32_t button2 = 0;  // right
  int32_t button3 = 0;  // middle
};

class Mouse {
 public:
  Mouse(DirectInputHolder& directInput, const display::ScreenFocus& screen,
        platform::Windowing& windowing);
  Mouse(const Mouse&) = delete;
  Mouse& operator=(const Mouse&) = delete;

  // 1 when the device was created; 0 on failure. Opens the shared DirectInput
  // object whatever happens.
  int32_t OpenMouse();
  // 1 when events were read and applied; 0 otherwise, with zero moves.
  int32_t PollMouse();
  int32_t MouseMoveX() const { return mouseState_.moveX; }
  int32_t MouseMoveY() const { return mouseState_.moveY; }
  // Button 1, 2 or 3: 1 while held.
  int32_t MouseButtonDown(int32_t button) const;
  // Non-zero while the screen window is active.
  int32_t ScreenHasFocus() const { return screen_.ScreenActive() ? 1 : 0; }
  // Also what the application does when the screen window loses the focus.
  void UnacquireMouse();
  // Lifts any cursor confinement and gives up the device and the shared
  // DirectInput object.
  void CloseMouse();

  MouseStatus Status() const { return status_; }
  platform::InputDevice* Device() const { return device_; }
  const MouseState& State() const { return mouseState_; }

 private:
  static constexpr uint32_t kCooperativeLevel = 5;  // exclusive, foreground
  static constexpr uint32_t kPressed = 0x80;

  bool RunSetup();
  void ApplyRecords(uint32_t count);

  DirectInputHolder& directInput_;
  const display::ScreenFocus& screen_;
  platform::Windowing& windowing_;

  platform::InputDevice* device_ = nullptr;
  MouseStatus status_ = MouseStatus::MouseAbsent;
  int32_t initAttempted_ = 0;
  MouseState mouseState_{};
  std::array<platform::DiDeviceObjectData, kMouseBufferRecords> MouseEvents{};
};

}  // namespace drawing::input
