// What the software Direct3D device asks of the place it is shown in.
//
// The software device draws into memory; everything that depends on a real
// screen (which modes exist, whether the device is lost, where a presented
// frame goes) is the host's. The headless host answers from its
// configuration and fault script, the SDL host from SDL's display and
// renderer. Hosts are called only from the application's thread.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"

namespace drawing::platform::soft {

// The back buffer as the device hands it over in Present: `height` rows,
// top row first, `pitch` bytes apart (the pitch may exceed width times the
// pixel size). Valid only during the call.
struct FrameView {
  const uint8_t* pixels = nullptr;
  int32_t pitch = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  Format format = Format::Unknown;
};

// Pixel memory a host lends for the back buffer: rows `pitch` bytes apart.
struct HostMemory {
  uint8_t* pixels = nullptr;
  int32_t pitch = 0;
};

// Device operations a host may refuse, so tests can make them fail.
enum class DeviceOperation : uint8_t {
  CreateTexture,
  CreateRenderTarget,
  CreateOffscreenPlainSurface,
  GetDC,
  GetBackBuffer,
};

class DisplayHost {
 public:
  virtual ~DisplayHost() = default;

  // The adapter. Modes are counted and numbered per format, in the order the
  // adapter reports them; Mode is false for an index beyond the count.
  virtual uint32_t ModeCount(Format format) = 0;
  virtual bool Mode(Format format, uint32_t index, DisplayMode* mode) = 0;
  // Whether the screen can be opened full screen with this format as display
  // and back-buffer format.
  virtual bool IsUsableFormat(Format format) = 0;
  virtual Caps DeviceCaps() = 0;

  // A device is being created with parameters the device has already
  // checked (full screen, usable format, non-empty size); the host switches
  // to that mode. A failure code refuses the device and is returned by
  // CreateDevice.
  virtual D3dResult CreateDevice(const PresentParameters& parameters) = 0;
  // The device's last reference went away.
  virtual void DeviceReleased() {}

  // Ok, DeviceLost, DeviceNotReset or DriverInternalError.
  virtual D3dResult TestCooperativeLevel() = 0;
  // The device asks to be reset with checked parameters; on Ok it builds a
  // new back buffer of that size and format.
  virtual D3dResult Reset(const PresentParameters& parameters) = 0;
  // Shows the back buffer; the result is Present's.
  virtual D3dResult Present(const FrameView& backBuffer) = 0;

  // A host that can show memory of its own without copying it (a locked
  // streaming texture) lends it for the back buffer, so presenting needs no
  // copy. Asked for every new back buffer, after the host's CreateDevice or
  // Reset succeeded; false (the default) lets the device allocate its own.
  // Lent memory holds the back buffer's width x height pixels of its format
  // and stays valid until the next Present, Reset or DeviceReleased. The
  // device writes a frame's last pixels into it by the time it calls
  // Present (a clear may be kept aside until then).
  virtual bool LendBackBuffer(const PresentParameters& /*parameters*/, HostMemory* /*memory*/) {
    return false;
  }
  // After each Present and each failed Reset of a device drawing in lent
  // memory: where it draws from now on (the host may have moved the memory).
  // Never null while a device holds lent memory.
  virtual HostMemory LentBackBuffer() { return {}; }
  // After a successful Present of lent memory, once, before the device
  // next changes that memory: a host that keeps showing the memory itself
  // rather than a copy takes its frame out now. With `replacesAll` every
  // pixel is about to be written without being read, so instead of copying
  // the host may keep the memory and lend other memory, whatever it holds.
  // The answer is where the device draws from now on (null: where it was).
  virtual HostMemory LentBackBufferChanging(bool /*replacesAll*/) { return {}; }

  // Ok lets the operation go ahead; any other code is its result.
  virtual D3dResult Allow(DeviceOperation /*operation*/) { return D3dResult::Ok; }
};

}  // namespace drawing::platform::soft
