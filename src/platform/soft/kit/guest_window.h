// The windows and input of a program drawing in a window another program
// owns (an X screen saver's window, the Windows preview): the program's own
// window is a record of the software window system, active once shown, and
// no native window is made, no cursor hidden, nothing confined; its
// keyboard and mouse are software DirectInput devices on a keyboard and a
// mouse that nobody touches, since the window's owner keeps the input.
// Such a host holds one GuestWindow beside its screen.
#pragma once

#include "platform/soft/input/input_host.h"
#include "platform/soft/input/soft_input.h"
#include "platform/soft/windowing/soft_windowing.h"
#include "platform/soft/windowing/window_host.h"

namespace drawing::platform::soft {

class GuestWindow final : private WindowHost, private InputHost {
 public:
  GuestWindow() : windowing_(static_cast<WindowHost&>(*this)), input_(*this, /*focused=*/true) {}
  GuestWindow(const GuestWindow&) = delete;
  GuestWindow& operator=(const GuestWindow&) = delete;

  SoftWindowing& Windowing() { return windowing_; }
  SoftInput& Input() { return input_; }

 private:
  bool OpenWindow(Hwnd /*window*/, const SoftWindow& /*record*/) override { return true; }
  bool ShowActivates() const override { return true; }

  SoftWindowing windowing_;
  SoftInput input_;
};

}  // namespace drawing::platform::soft
