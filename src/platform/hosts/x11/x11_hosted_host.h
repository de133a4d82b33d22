// The hosted host: `drawing` inside an X window that another program owns
// (XScreenSaver's window per monitor, its settings preview, xsecurelock's
// saver window, or the root window). A third kind of window beside the SDL
// full screen and the headless screen, made of its own small parts:
//
// - the screen is X11Presenter: one display mode, the window's size; frames
//   go to the window with MIT-SHM (else XPutImage), paced to the refresh;
// - windows, message queue, cursor, keyboard and mouse are the soft kit's
//   GuestWindow: the program's screen window exists only as a record, no X
//   window is made, no cursor hidden, no pointer confined, nothing grabbed,
//   and the window's owner keeps the input, so keys, buttons and moves
//   neither end the program nor add particles;
// - time, sleeping and thread-local slots are the standard library's
//   (SteadySystem), files POSIX's.
//
// Why not SDL_CreateWindowFrom: on X11 it selects pointer and key events on
// the foreign window, which fails with BadAccess where the owner already
// selected them, and it would present through a renderer; a few Xlib calls
// do the job with less.
//
// One host serves one run of the program; a resize of the window ends the
// run and the next host starts at the new size (see docs/architecture.md).
//
// Does: the program in a foreign X window, one mode of the window's size,
//   MIT-SHM presents paced to XRandR's refresh rate.
// Does not: take input, change the cursor or the display mode, make a
//   window of its own, resize the drawing.
// Faults: none; a window that is gone ends the run at the next frame.
// Tests: tests/platform/hosts/x11, tests/e2e/hosted_window_test.sh and
//   xscreensaver_test.sh.
#pragma once

#include "platform/hosts/x11/x11_presenter.h"
#include "platform/hosts/x11/x11_window.h"
#include "platform/platform.h"
#include "platform/posix/posix_file_system.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/soft/kit/guest_window.h"
#include "platform/soft/kit/steady_system.h"

namespace drawing::platform::x11 {

class HostedHost final {
 public:
  explicit HostedHost(X11Window& window);
  HostedHost(const HostedHost&) = delete;
  HostedHost& operator=(const HostedHost&) = delete;

  platform::Platform GetPlatform();

  X11Presenter& Display() { return display_; }

 private:
  soft::SteadyPaceClock clock_;
  soft::SteadySystem system_;
  soft::GuestWindow guest_;
  X11Presenter display_;
  soft::SoftGdi gdi_;
  posix::PosixFileSystem files_;
  soft::SoftDirect3DModule direct3d_;
};

}  // namespace drawing::platform::x11
