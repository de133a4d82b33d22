// The screen saver's host for a drawing in a window of ours (a SaverWindow):
// the preview, live in a child of a window another program owns, or the
// saver's drawing over a monitor other than the primary. What the program
// draws and how is the same as everywhere; only the ports differ:
//  - the screen is the software device shown through GDI in the window
//    (GdiDisplayHost): no display mode changes, nothing full screen; over
//    another monitor the primary's present paces the frames instead;
//  - the program's own window, keyboard and mouse are the soft kit's
//    GuestWindow: a record of the software window system, and devices that
//    never report anything: no input reaches the program, and the cursor it
//    hides or confines is the emulation's, not the user's;
//  - the clock, sleeping and files are the real ones.
// The run ends, with status 0, once the window says so (the preview's child
// or its parent is gone; the saver ends).
//
// Does: the program live in a window of ours (SaverWindow: the preview's
//   child, or a MonitorWindow), drawn by the software device and shown
//   through GDI at 60 Hz or at the caller's pace, with the real clock and
//   files.
// Does not: give the program input, change the display mode, go full
//   screen, hide the user's cursor or take the focus.
// Faults: none.
// Tests: tests/platform/hosts/preview/, tests/e2e/wine_scr_preview_test.sh,
//   tests/e2e/wine_scr_monitors_test.sh.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/hosts/preview/win32_gdi_display_host.h"
#include "platform/platform.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/kit/guest_window.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_saver_window.h"
#include "platform/win32/win32_system.h"

namespace drawing::platform::win32 {

class PreviewHost final {
 public:
  // Shows the drawing in `window`, which must outlive the host.
  explicit PreviewHost(SaverWindow& window, GdiPacing pacing = GdiPacing::OwnPeriod);
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;

  // Whether the window exists; without it there is nothing to run.
  bool Open() const { return window_.Open(); }
  platform::Platform GetPlatform();
  // At the start of every frame: handles the window's messages and, once
  // the window or its parent is gone, asks the program to stop.
  void BeginFrame();
  const std::atomic<bool>* StopRequest() const { return &stop_; }

 private:
  SaverWindow& window_;
  Win32System system_;
  soft::GuestWindow guest_;
  soft::SoftGdi gdi_;
  GdiDisplayHost display_;
  soft::SoftDirect3DModule direct3d_;
  Win32FileSystem files_;
  std::atomic<bool> stop_{false};
};

}  // namespace drawing::platform::win32
