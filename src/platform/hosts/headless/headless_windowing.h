// USER32 of the headless host: the software window system with windows that
// exist only as records tests can read. Showing a window activates it at
// once, as on Windows; focus changes from outside are posted as scripts ask
// for them (PostActivation). Its faults: a failing RegisterClassEx or
// CreateWindowEx, and whether the module has its icon.
#pragma once

#include "platform/soft/windowing/soft_windowing.h"

namespace drawing::platform::headless {

struct WindowingConfig {
  bool failRegisterClass = false;
  bool failCreateWindow = false;
  // Whether the program's module has icon resource 1.
  bool iconAvailable = false;
};

class HeadlessWindowing final : private soft::WindowHost, public soft::SoftWindowing {
 public:
  explicit HeadlessWindowing(WindowingConfig config = {})
      : soft::SoftWindowing(static_cast<soft::WindowHost&>(*this)), config_(config) {}

 private:
  bool OpenWindow(Hwnd /*window*/, const soft::SoftWindow& /*record*/) override {
    return !config_.failCreateWindow;
  }
  bool ShowActivates() const override { return true; }
  bool HasIcon(int resource) const override { return config_.iconAvailable && resource == 1; }
  bool RegisterClassFails() override { return config_.failRegisterClass; }

  WindowingConfig config_;
};

}  // namespace drawing::platform::headless
