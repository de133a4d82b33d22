// The screen of the headless host, as the software Direct3D device sees it
// (a DisplayHost): a configurable list of display modes, the formats and
// caps of the adapter, an in-memory screen that keeps every presented frame,
// and the device faults of a DeviceFaultScript. Each successful Present
// moves the fake clock on by one frame time, standing in for the wait for
// the vertical retrace.
//
// The screen lends the device the memory of the next frame as back buffer.
// A presented frame stays in that memory until someone asks for it or the
// device is about to change it; when the device is about to overwrite every
// pixel (the Canvas blitted over the whole screen), the frame keeps the
// memory and the device gets other memory, so no frame is ever copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <vector>

#include "platform/hosts/headless/device_fault_script.h"
#include "platform/hosts/headless/headless_system.h"
#include "platform/hosts/headless/presented_frame.h"
#include "platform/soft/direct3d/display_host.h"

namespace drawing::platform::headless {

struct DisplayConfig {
  // Every mode of the adapter; the order within one format is the adapter's.
  std::vector<DisplayMode> modes = DefaultModes();
  // Formats the screen can be opened with (display and back buffer alike).
  std::vector<Format> usableFormats = {Format::X8R8G8B8, Format::R5G6B5, Format::X1R5G5B5};
  Caps caps{static_cast<uint32_t>(DevCap::HwTransformAndLight)};
  uint32_t presentMilliseconds = 16;
  // How many of the latest frames are kept; the last one, the screen, always
  // is. 0 keeps the screen only while it is still in the lent back buffer:
  // once the device changes that memory the frame's pixels are gone, so a
  // very large screen never costs a second copy (see ScreenView).
  size_t keptFrames = std::numeric_limits<size_t>::max();
  // Called with every frame as it is presented, e.g. to stream it out: the
  // screen as it now is. The rows are valid during the call only.
  std::function<void(const ConstRows&)> presented;
  // A screen of one kept frame, not lent as back buffer, takes from each
  // frame only the rectangles that changed; this sees them first and may
  // change them (a fault: a rectangle dropped shows in every later frame).
  std::function<void(std::vector<Rect>&)> screenRects;
  // Off, the device draws and presents every frame whole (the reference
  // frames are compared with).
  bool tracksChanges = true;
  // Whether the back buffer is the screen's memory (presented without a
  // copy). Off, the device draws in its own memory, rows padded, and every
  // presented frame is copied.
  bool lendBackBuffer = true;

  // 320 x 240 and 640 x 480 at 60 Hz, each in R5G6B5 and X8R8G8B8.
  static std::vector<DisplayMode> DefaultModes();
};

class HeadlessDisplay final : public soft::DisplayHost, private soft::BackBufferLease {
 public:
  HeadlessDisplay(DisplayConfig config, HeadlessSystem& clock, DeviceFaultScript& faults);

  uint32_t ModeCount(Format format) override;
  bool Mode(Format format, uint32_t index, DisplayMode* mode) override;
  bool IsUsableFormat(Format format) override;
  Caps DeviceCaps() override { return config_.caps; }
  // Refused with DeviceLost while the device is lost, or as scripted.
  D3dResult CreateDevice(const PresentParameters& parameters) override;
  void DeviceReleased() override { --openDevices_; }
  D3dResult TestCooperativeLevel() override;
  D3dResult Reset(const PresentParameters& parameters) override;
  D3dResult Present(const ConstRows& backBuffer, const soft::Damage& changed) override;
  bool TracksChanges() override { return config_.tracksChanges; }
  soft::BackBufferLease* LendBackBuffer(const PresentParameters& parameters) override;
  D3dResult Allow(soft::DeviceOperation operation) override;

  // The frame number that stamps presented frames (HeadlessHost sets it).
  void SetFrame(int32_t frame) { frame_ = frame; }

  // Inspection.
  DisplayConfig& Config() { return config_; }
  bool DeviceOpen() const { return openDevices_ > 0; }
  // The screen mode of the device, as last created or reset.
  const PresentParameters& ScreenParameters() const { return screen_; }
  const std::deque<PresentedFrame>& Frames() const;
  // Null before the first presentation.
  const PresentedFrame* LastFrame() const;
  // The last presented frame where it lies, without copying it; no pixels
  // before the first presentation or when (keptFrames 0) they are gone.
  ConstRows ScreenView() const;
  uint32_t PresentedCount() const { return presented_; }
  void ClearFrames();

 private:
  DisplayConfig config_;
  HeadlessSystem& clock_;
  DeviceFaultScript& faults_;
  int32_t openDevices_ = 0;
  PresentParameters screen_{};
  int32_t frame_ = 0;
  // The frame about to be recorded, in the memory of a dropped one if any.
  PresentedFrame NextFrame();
  // The lease of the back buffer.
  Rows Pixels() override;
  Rows Changing(bool replacesAll) override;
  // The lent memory is the host's own and is never dropped.
  bool HoldsLastDrawn() override { return true; }
  // Copies the lent memory into the last frame, if that is where it still is.
  void TakeOutScreen() const;

  uint32_t presented_ = 0;
  // Mutable: the last frame may still be in the lent memory, and is copied
  // out when asked for.
  mutable std::deque<PresentedFrame> frames_;
  std::vector<uint8_t> lent_;          // the back buffer's memory
  std::vector<uint8_t> retired_;       // the one before, until the next is lent
  Rows lentRows_;                      // over lent_
  mutable bool screenInLent_ = false;  // the last frame's pixels are lent_
};

}  // namespace drawing::platform::headless
