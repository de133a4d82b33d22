// The screen saver's preview host: the program drawing live into a child of
// a window another program owns. What the program draws and how is the
// same as everywhere; only the ports differ:
//  - the screen is the software device shown through GDI in the child
//    window (GdiDisplayHost): no display mode changes, nothing full screen;
//  - the program's own window, keyboard and mouse are the soft kit's
//    GuestWindow: a record of the software window system, and devices that
//    never report anything: no input ends a preview, and the cursor the
//    program hides or confines is the emulation's, not the user's;
//  - the clock, sleeping and files are the real ones.
// The run ends, with status 0, once the child or its parent is gone.
//
// Does: the program live in a child of the window Windows names, drawn by
//   the software device and shown through GDI at 60 Hz, with the real
//   clock and files.
// Does not: take input, change the display mode, go full screen, hide the
//   user's cursor or take the focus.
// Faults: none.
// Tests: tests/app/win32_preview_test.cpp, tests/e2e/wine_scr_preview_test.sh.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/hosts/preview/win32_gdi_display_host.h"
#include "platform/platform.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/kit/guest_window.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_preview_window.h"
#include "platform/win32/win32_system.h"

namespace drawing::platform::win32 {

class PreviewHost final {
 public:
  // Makes the child window of `parent` at once.
  explicit PreviewHost(uintptr_t parent);
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;

  // Whether the child window exists; without it there is nothing to run.
  bool Open() const { return window_.Open(); }
  platform::Platform GetPlatform();
  // At the start of every frame: handles the window's messages and, once
  // the window or its parent is gone, asks the program to stop.
  void BeginFrame();
  const std::atomic<bool>* StopRequest() const { return &stop_; }

 private:
  PreviewWindow window_;
  Win32System system_;
  soft::GuestWindow guest_;
  soft::SoftGdi gdi_;
  GdiDisplayHost display_;
  soft::SoftDirect3DModule direct3d_;
  Win32FileSystem files_;
  std::atomic<bool> stop_{false};
};

}  // namespace drawing::platform::win32
