// A window over one monitor while the screen saver runs there: borderless,
// above every other window, never activated (the full-screen program on the
// primary monitor keeps the focus, which an exclusive device loses when
// another window is activated), the cursor hidden over it. A key it is
// given, or the mouse moving right or down over it, ends the whole saver,
// as on the primary; a click does not, as there. It lives on the primary
// program's thread, which pumps every window's messages; Pump handles only
// this window's.
#pragma once

#include <atomic>

#include "platform/handles.h"
#include "platform/win32/win32_saver_window.h"

namespace drawing::platform::win32 {

class MonitorWindow final : public SaverWindow {
 public:
  // Makes and shows the window over `monitor` (desktop coordinates); input
  // that ends the saver sets `endSaver`, which Pump also reads.
  MonitorWindow(const Rect& monitor, std::atomic<bool>& endSaver);
  ~MonitorWindow() override;
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;

  // False once the saver is to end, or the monitor is gone.
  bool Pump() override;

  // What the window procedure reaches through the window's user data.
  struct State {
    std::atomic<bool>* endSaver;
    bool mouseSeen = false;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool destroyed = false;
  };

 private:
  State state_;
  Rect monitor_;
  bool unplugged_ = false;  // no monitor is there any more
};

}  // namespace drawing::platform::win32
