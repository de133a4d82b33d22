// The screen saver's preview window: a real child window filling the client
// area of a window another program owns (the little monitor in Screen Saver
// Settings). It never takes the focus or the keyboard; it only shows frames
// and tells when it or its parent is gone.
#pragma once

#include <cstdint>

#include "platform/win32/win32_saver_window.h"

namespace drawing::platform::win32 {

class PreviewWindow final : public SaverWindow {
 public:
  // Makes the child of `parent`; Open() says whether that worked.
  explicit PreviewWindow(uintptr_t parent);
  ~PreviewWindow() override;
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;

  // False once the window or its parent is gone (the user closed Settings
  // or picked another saver).
  bool Pump() override;

 private:
  uintptr_t parent_;
  bool destroyed_ = false;  // set by the window procedure on WM_DESTROY
};

}  // namespace drawing::platform::win32
