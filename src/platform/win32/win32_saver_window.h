// A real window of ours that the screen saver's drawing is shown in through
// GDI: the child in Screen Saver Settings' little monitor (PreviewWindow) or
// a window over one monitor while the saver runs (MonitorWindow). The
// preview pumps its thread's Win32 messages here, since the program's own
// window is an emulated one; a monitor's window pumps only its own, since
// its thread's other messages are the primary program's.
#pragma once

#include <cstdint>

#include "platform/handles.h"

namespace drawing::platform::win32 {

// The window property a saver window's WM_PAINT sets: part of its picture
// was lost (uncovered), and the next frame is shown whole (GdiDisplayHost).
inline constexpr wchar_t kPictureLostProperty[] = L"drawing picture lost";

class SaverWindow {
 public:
  virtual ~SaverWindow() = default;

  // Whether the window was made; without it there is nothing to show.
  bool Open() const { return window_ != nullptr; }
  Hwnd Window() const { return window_; }
  // The client area's size when the window was made (at least 1 x 1).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Handles the window's waiting messages; false once the drawing in this
  // window is to end.
  virtual bool Pump() = 0;

 protected:
  // Dispatches the waiting messages of `only` (every window of this thread
  // when null); false on WM_QUIT, which a pump of one window leaves in
  // the queue for the thread's own.
  static bool DispatchWaiting(Hwnd only = nullptr);
  // Destroys the window unless it is gone already, detached from its owner,
  // and unregisters its class (which fails while other windows still use it).
  void Close(bool destroyed, const wchar_t* className);

  Hwnd window_ = nullptr;
  int32_t width_ = 1;
  int32_t height_ = 1;
};

}  // namespace drawing::platform::win32
