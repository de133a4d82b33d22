// The screen saver's host for a drawing in a window of ours: the preview,
// live in a child of a window another program owns, and the saver on every
// monitor but the primary one. What the program draws and how is the same
// as everywhere; only the ports differ:
//  - the screen is the software device shown through GDI in the window
//    (GdiDisplayHost): no display mode changes, nothing full screen;
//  - the program's own window is a record of the software window system,
//    and the software keyboard and mouse never report anything: no input
//    ends a preview, and the cursor the program hides or confines is the
//    emulation's, not the user's;
//  - the clock, sleeping and files are the real ones.
// The run ends, with status 0, once the window says so (the preview's child
// or its parent is gone; the saver ends).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/platform.h"
#include "platform/soft/input_host.h"
#include "platform/soft/soft_direct3d_module.h"
#include "platform/soft/soft_gdi.h"
#include "platform/soft/soft_input.h"
#include "platform/soft/soft_windowing.h"
#include "platform/soft/window_host.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_gdi_display_host.h"
#include "platform/win32/win32_saver_window.h"
#include "platform/win32/win32_system.h"

namespace drawing::platform::win32 {

class PreviewHost final : private soft::WindowHost, private soft::InputHost {
 public:
  // Shows the drawing in `window`, which must outlive the host.
  explicit PreviewHost(SaverWindow& window);
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
  // The program's window exists only as a record, active once shown.
  bool OpenWindow(Hwnd /*window*/, const soft::SoftWindow& /*record*/) override { return true; }
  bool ShowActivates() const override { return true; }

  SaverWindow& window_;
  Win32System system_;
  soft::SoftWindowing windowing_;
  soft::SoftGdi gdi_;
  GdiDisplayHost display_;
  soft::SoftDirect3DModule direct3d_;
  soft::SoftInput input_;
  Win32FileSystem files_;
  std::atomic<bool> stop_{false};
};

}  // namespace drawing::platform::win32
