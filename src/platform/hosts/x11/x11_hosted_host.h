// The hosted host: `drawing` inside an X window that another program owns
// (XScreenSaver's window per monitor, its settings preview, xsecurelock's
// saver window, or the root window). A third kind of window beside the SDL
// full screen and the headless screen, made of its own small parts:
//
// - the screen is X11Presenter: one display mode, the window's size; frames
//   go to the window with MIT-SHM (else XPutImage), paced to the refresh;
// - windows, message queue and cursor are the soft layer's (this host is
//   their WindowHost: the program's screen window exists only as a record,
//   active once shown; no X window is made, no cursor hidden, no pointer
//   confined, nothing grabbed);
// - keyboard and mouse are the soft layer's DirectInput devices on a
//   physical keyboard and mouse that nobody touches (this host is their
//   InputHost and feeds nothing): the window's owner keeps the input, so
//   keys, buttons and moves neither end the program nor add particles;
// - time and thread-local slots are the SDL host's (SDL's timer needs no
//   video), files the standard library's.
//
// Why not SDL_CreateWindowFrom: on X11 it selects pointer and key events on
// the foreign window, which fails with BadAccess where the owner already
// selected them, and it would present through a renderer; a few Xlib calls
// do the job with less.
//
// One host serves one run of the program; a resize of the window ends the
// run and the next host starts at the new size (see docs/architecture.md).
#pragma once

#include "platform/hosts/x11/x11_presenter.h"
#include "platform/hosts/x11/x11_window.h"
#include "platform/platform.h"
#include "platform/posix/posix_file_system.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/input/input_host.h"
#include "platform/soft/input/soft_input.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/soft/kit/steady_system.h"
#include "platform/soft/windowing/soft_windowing.h"
#include "platform/soft/windowing/window_host.h"

namespace drawing::platform::x11 {

class HostedHost final : private soft::WindowHost, private soft::InputHost {
 public:
  explicit HostedHost(X11Window& window);
  HostedHost(const HostedHost&) = delete;
  HostedHost& operator=(const HostedHost&) = delete;

  platform::Platform GetPlatform();

  X11Presenter& Display() { return display_; }

 private:
  // The program's window exists only as a record, active once shown.
  bool OpenWindow(Hwnd /*window*/, const soft::SoftWindow& /*record*/) override { return true; }
  bool ShowActivates() const override { return true; }

  soft::SteadyPaceClock clock_;
  soft::SteadySystem system_;
  soft::SoftWindowing windowing_;
  X11Presenter display_;
  soft::SoftGdi gdi_;
  posix::PosixFileSystem files_;
  soft::SoftInput input_;
  soft::SoftDirect3DModule direct3d_;
};

}  // namespace drawing::platform::x11
