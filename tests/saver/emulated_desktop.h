// What the saver's tests lay the emulated desktop out with: a window system
// that makes no native windows, and a monitor of it.
#pragma once

#include "platform/soft/windowing/soft_windowing.h"
#include "platform/windowing.h"

namespace drawing::saver {

struct NoNativeWindows final : platform::soft::WindowHost {
  bool OpenWindow(platform::Hwnd, const platform::soft::SoftWindow&) override { return false; }
};

inline platform::MonitorInfo Monitor(platform::Rect rect, bool primary = false) {
  return platform::MonitorInfo{rect, rect, primary ? platform::kMonitorInfoPrimary : 0u};
}

}  // namespace drawing::saver
