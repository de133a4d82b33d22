// The X window another program owns (a screen-saver host's window, a
// settings preview, the root window) as `drawing` sees it in hosted mode:
// its own connection to the X server, the window's size and visual, and
// the only events it asks for, StructureNotify (size changes and the
// window's end). It never selects input events, changes no cursor and grabs
// nothing: keys and mouse stay with the window's owner. A process-wide X
// error handler keeps errors about a window that is already gone from being
// reported, so the end of the window ends the program quietly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"

// Xlib's own types, named without its header: its macros (None, Success,
// Status, ...) would collide with the ports' names.
struct _XDisplay;

namespace drawing::platform::x11 {

using XDisplay = ::_XDisplay;
using XWindowId = unsigned long;

enum class WindowChange : uint8_t { Unchanged, Resized, Gone };

class X11Window {
 public:
  // Connects to $DISPLAY and takes the window with `id` (none: the root
  // window of the default screen). Null, with the reason in `error`, when
  // there is no display, no such window or a visual we cannot draw in.
  static std::unique_ptr<X11Window> Open(std::optional<uint32_t> id, std::string* error);
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  XDisplay* Connection() const { return display_; }
  XWindowId Id() const { return window_; }
  // Xlib's Visual of the window.
  void* WindowVisual() const { return visual_; }
  int Depth() const { return depth_; }
  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  // The refresh rate of the screen the window is on; 0 when unknown.
  uint32_t RefreshRate() const { return refreshRate_; }

  // Reads the events that came since the last call: Gone once the window
  // was destroyed (or an X error named it), else Resized when its size
  // differs from the last size read, else Unchanged.
  WindowChange Poll();
  bool Gone() const { return gone_; }
  // The parts of the window whose picture the server lost (Expose events
  // read by Poll) since the last call, e.g. where a dialog over it went
  // away.
  std::vector<Rect> TakeExposed();
  // Waits until the server has handled every request sent; true when none
  // of them failed. A failure that names the window (or anything drawn on
  // it) means the window is gone.
  bool Sync();

 private:
  X11Window(XDisplay* display, XWindowId window);
  bool ReadAttributes(std::string* error);

  XDisplay* display_;
  XWindowId window_;
  void* visual_ = nullptr;
  int depth_ = 0;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint32_t refreshRate_ = 0;
  bool resized_ = false;
  std::vector<Rect> exposed_;
  bool gone_ = false;
};

}  // namespace drawing::platform::x11
