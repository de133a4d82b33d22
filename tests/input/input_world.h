// A fresh input world per test: heap, scripted DirectInput, a screen that
// stands in for the display, and the input subsystem wired to them.
#pragma once

#include <gtest/gtest.h>

#include "display/screen_focus.h"
#include "fake_windowing.h"
#include "input/input.h"
#include "platform/hosts/headless/headless_input.h"
#include "runtime/main_heap.h"
#include "support/emulation_recorder.h"

namespace drawing::input::testing {

using platform::DeviceGuid;
using platform::DiResult;
using platform::headless::HeadlessInput;
using platform::headless::InputEvent;
using platform::soft::InputCallKind;

// The screen window and its activation, as the display reports them.
struct FakeScreen final : display::ScreenFocus {
  platform::Hwnd ScreenWindow() const override { return screenWindow; }
  bool ScreenActive() const override { return active; }
  platform::Hwnd screenWindow = nullptr;
  bool active = true;
};

class InputWorld : public ::testing::Test {
 protected:
  InputWorld() {
    screen.screenWindow = reinterpret_cast<platform::Hwnd>(&windowTag_);
    devices.SetObserver(&recorder);
    // What the display's window procedure and the application do on
    // activation changes.
    devices.SetFocusListener([this](bool focused) {
      screen.active = focused;
      if (!focused) {
        mouse().UnacquireMouse();
      }
    });
  }

  Keyboard& keyboard() { return input.keyboard; }
  Mouse& mouse() { return input.mouse; }

  // Start-up as the application does it: both devices opened, then the first
  // mouse poll once the screen is open.
  void Open() {
    keyboard().OpenKeyboard();
    mouse().OpenMouse();
  }
  void OpenAndBind() {
    Open();
    mouse().PollMouse();
  }

  // One frame's input step: the frame's scripted events, then both polls.
  void Frame(uint32_t frame) {
    devices.BeginFrame(frame);
    keyboard().PollKeyboard();
    mouse().PollMouse();
  }

  void Shutdown() {
    mouse().CloseMouse();
    keyboard().CloseKeyboard();
  }

  support::EmulationRecorder recorder;  // the calls made on `devices`
  runtime::MainHeap heap;
  HeadlessInput devices;
  FakeWindowing windowing;
  FakeScreen screen;
  Input input{heap, devices, windowing, screen};

 private:
  int windowTag_ = 0;
};

}  // namespace drawing::input::testing
