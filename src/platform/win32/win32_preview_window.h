// The screen saver's preview window: a real child window filling the client
// area of a window another program owns (the little monitor in Screen Saver
// Settings). It never takes the focus or the keyboard; it only shows frames
// and tells when it or its parent is gone. The thread's Win32 messages are
// pumped here, since the program's own window is an emulated one.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace drawing::platform::win32 {

class PreviewWindow {
 public:
  // Makes the child of `parent`; Open() says whether that worked.
  explicit PreviewWindow(uintptr_t parent);
  ~PreviewWindow();
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;

  bool Open() const { return window_ != nullptr; }
  Hwnd Window() const { return window_; }
  // The client area's size when the window was made (at least 1 x 1).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Handles every waiting message of this thread; false once the window or
  // its parent is gone (the user closed Settings or picked another saver).
  bool Pump();

 private:
  uintptr_t parent_;
  Hwnd window_ = nullptr;
  int32_t width_ = 1;
  int32_t height_ = 1;
  bool destroyed_ = false;  // set by the window procedure on WM_DESTROY
};

}  // namespace drawing::platform::win32
