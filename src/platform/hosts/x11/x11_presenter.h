// The screen of the software device in hosted mode: one display mode, the X
// window's size (WindowSizedHost). The back buffer is an XImage in memory
// shared with the X server (MIT-SHM) where the server allows it, lent to
// the device so a frame is drawn straight into it; a present puts what
// changed since the last frame and what the window lost meanwhile (Expose),
// as a bounded number of XShmPutImage (else XPutImage) requests, then syncs
// so the memory may be drawn in again, and waits to the next refresh period.
// A window that is gone takes presents without a word: the run ends at the
// next frame.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/hosts/x11/x11_window.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/soft/kit/window_sized_host.h"

namespace drawing::platform::x11 {

class X11Presenter final : public soft::WindowSizedHost, private soft::BackBufferLease {
 public:
  X11Presenter(X11Window& window, soft::PaceClock& clock);
  ~X11Presenter() override;
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  D3dResult CreateDevice(const PresentParameters& parameters) override;
  void DeviceReleased() override;
  D3dResult Reset(const PresentParameters& parameters) override;
  D3dResult Present(const ConstRows& backBuffer, const soft::Damage& changed) override;
  soft::BackBufferLease* LendBackBuffer(const PresentParameters& parameters) override;

  // Inspection: whether frames go through shared memory.
  bool SharedMemory() const;
  uint32_t PresentedCount() const { return presented_; }

 private:
  class WindowImage;

  DisplayMode WindowMode() const override;
  // The image's memory, lent; the server only reads it.
  Rows Pixels() override;
  bool HoldsLastDrawn() override { return image_ != nullptr; }

  X11Window& window_;
  soft::FramePacer pacer_;
  std::unique_ptr<WindowImage> image_;
  uint32_t presented_ = 0;
};

}  // namespace drawing::platform::x11
