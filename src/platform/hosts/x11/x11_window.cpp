#include "platform/hosts/x11/x11_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>

namespace drawing::platform::x11 {
namespace {

// Xlib's error handler is process-wide and gets no context of ours, so the
// one error it saw last waits here until Sync reads it (one thread only).
struct SeenError {
  bool any = false;
  unsigned char code = 0;
};
SeenError seenError;

extern "C" int NoteError(::Display* /*display*/, XErrorEvent* event) {
  seenError.any = true;
  seenError.code = event->error_code;
  return 0;
}

std::string Hex(uint32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", id);
  return text;
}

uint32_t ScreenRefreshRate(::Display* display, ::Window root) {
  int eventBase = 0;
  int errorBase = 0;
  if (!XRRQueryExtension(display, &eventBase, &errorBase)) {
    return 0;
  }
  XRRScreenConfiguration* configuration = XRRGetScreenInfo(display, root);
  if (configuration == nullptr) {
    return 0;
  }
  const short rate = XRRConfigCurrentRate(configuration);
  XRRFreeScreenConfigInfo(configuration);
  return rate > 0 ? static_cast<uint32_t>(rate) : 0;
}

}  // namespace

std::unique_ptr<X11Window> X11Window::Open(std::optional<uint32_t> id, std::string* error) {
  ::Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    const char* name = XDisplayName(nullptr);
    *error = name == nullptr || *name == '\0'
                 ? std::string("cannot open the X display: DISPLAY is not set")
                 : std::string("cannot open the X display '") + name + "'";
    return nullptr;
  }
  XSetErrorHandler(NoteError);
  const ::Window window = id ? static_cast<::Window>(*id) : DefaultRootWindow(display);
  std::unique_ptr<X11Window> opened(new X11Window(display, window));
  if (!opened->ReadAttributes(error)) {
    return nullptr;
  }
  return opened;
}

X11Window::X11Window(XDisplay* display, XWindowId window) : display_(display), window_(window) {}

X11Window::~X11Window() {
  XCloseDisplay(display_);
}

bool X11Window::ReadAttributes(std::string* error) {
  const std::string name = "window " + Hex(static_cast<uint32_t>(window_));
  seenError = {};
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, window_, &attributes) == 0 || seenError.any) {
    *error = "no " + name + " on the X display";
    return false;
  }
  // The back buffer's X8R8G8B8 pixels go to the window as they are.
  const Visual* visual = attributes.visual;
  if (attributes.c_class == InputOnly || visual->c_class != TrueColor) {
    *error = name + " is not a true-colour window that can be drawn in";
    return false;
  }
  if (visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 || visual->blue_mask != 0xff ||
      (attributes.depth != 24 && attributes.depth != 32)) {
    *error = name + " has a " + std::to_string(attributes.depth) +
             "-bit visual; only 24 and 32 bits (8 bits per colour) are drawn";
    return false;
  }
  // Size changes, lost pictures and the window's end; never input.
  XSelectInput(display_, window_, StructureNotifyMask | ExposureMask);
  if (!Sync()) {
    *error = "no " + name + " on the X display";
    return false;
  }
  visual_ = attributes.visual;
  depth_ = attributes.depth;
  width_ = static_cast<uint32_t>(attributes.width);
  height_ = static_cast<uint32_t>(attributes.height);
  refreshRate_ = ScreenRefreshRate(display_, attributes.root);
  return true;
}

bool X11Window::Sync() {
  seenError = {};
  XSync(display_, False);
  if (seenError.any) {
    const unsigned char code = seenError.code;
    if (code == BadWindow || code == BadDrawable) {
      gone_ = true;
    }
    return false;
  }
  return true;
}

WindowChange X11Window::Poll() {
  while (!gone_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window_) {
      gone_ = true;
    } else if (event.type == Expose && event.xexpose.window == window_) {
      const XExposeEvent& area = event.xexpose;
      exposed_.push_back(Rect{area.x, area.y, area.x + area.width, area.y + area.height});
    } else if (event.type == ConfigureNotify && event.xconfigure.window == window_) {
      const auto width = static_cast<uint32_t>(event.xconfigure.width);
      const auto height = static_cast<uint32_t>(event.xconfigure.height);
      if (width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        resized_ = true;
      }
    }
  }
  if (gone_) {
    return WindowChange::Gone;
  }
  if (resized_) {
    resized_ = false;
    return WindowChange::Resized;
  }
  return WindowChange::Unchanged;
}

std::vector<Rect> X11Window::TakeExposed() {
  std::vector<Rect> taken;
  taken.swap(exposed_);
  return taken;
}

}  // namespace drawing::platform::x11
