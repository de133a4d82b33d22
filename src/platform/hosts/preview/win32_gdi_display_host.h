// The software device's screen inside a window of ours, shown through GDI:
// the screen saver's preview, one mode, the window's size at 60 Hz
// (WindowSizedHost). The back buffer is memory of this host laid out as a
// top-down 32-bit DIB, so Present hands what changed of it to
// SetDIBitsToDevice as it is (all of it after the window's WM_PAINT) and then
// the frame pacer sleeps out the rest of a 60 Hz period, unless another
// present on the same thread paces the frames (the saver's primary monitor).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/handles.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/soft/kit/window_sized_host.h"

namespace drawing::platform::win32 {

// Whether Present waits out the rest of its period itself.
enum class GdiPacing : uint8_t { OwnPeriod, PacedByCaller };

class GdiDisplayHost final : public soft::WindowSizedHost, private soft::BackBufferLease {
 public:
  static constexpr uint32_t kRefreshRate = 60;

  GdiDisplayHost(Hwnd window, uint32_t width, uint32_t height,
                 GdiPacing pacing = GdiPacing::OwnPeriod);

  D3dResult CreateDevice(const PresentParameters& parameters) override;
  D3dResult Reset(const PresentParameters& parameters) override;
  D3dResult Present(const ConstRows& backBuffer, const soft::Damage& changed) override;
  soft::BackBufferLease* LendBackBuffer(const PresentParameters& parameters) override;

 private:
  DisplayMode WindowMode() const override { return DisplayMode{width_, height_, kRefreshRate}; }
  D3dResult Accept(const PresentParameters& parameters);
  Rows Pixels() override { return lent_; }
  bool HoldsLastDrawn() override { return true; }

  Hwnd window_;
  uint32_t width_;
  uint32_t height_;
  GdiPacing pacing_;
  std::vector<uint32_t> pixels_;
  Rows lent_;
  soft::SteadyPaceClock clock_;
  soft::FramePacer pacer_{clock_};
};

}  // namespace drawing::platform::win32
