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
#include "platform/pixels.h"
#include "platform/soft/kit/damage.h"

namespace drawing::platform::soft {

// Memory a host lends for the back buffer, so that presenting needs no copy
// (a locked streaming texture, a shared image). The device draws only in
// the rows the lease names at the time: it asks again after each Present
// and each failed Reset (Pixels), and before it changes pixels it has
// presented (Changing), since the host may move the memory then. The
// host keeps the lease until the device's next LendBackBuffer or
// DeviceReleased.
class BackBufferLease {
 public:
  // The back buffer's width x height pixels, in its format's layout.
  // Never empty while the device holds the lease.
  virtual Rows Pixels() = 0;
  // After a successful Present, once, before the device next changes the
  // presented pixels: a host that keeps showing the memory itself rather
  // than a copy takes its frame out now. With `replacesAll` every pixel is
  // about to be written without being read, so instead of copying the host
  // may keep the memory and lend other memory, whatever it holds. The
  // answer is where the device draws from now on.
  virtual Rows Changing(bool /*replacesAll*/) { return Pixels(); }
  // Whether the rows Pixels gives now hold every pixel the device last drew
  // in them, so that it may draw only what changed. A host that may have
  // replaced the memory or dropped its content since (a new window
  // surface, a texture whose driver keeps nothing) answers false, and the
  // device draws the next frame whole.
  virtual bool HoldsLastDrawn() { return false; }

 protected:
  ~BackBufferLease() = default;
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
  // Shows the back buffer (its rows are valid during the call only); the
  // result is Present's. `changed` covers every pixel that differs from the
  // frame presented last (all of them for the first frame, after a reset,
  // and whenever the device lost count): a host whose screen keeps the last
  // frame need show only that, plus whatever its screen lost meanwhile.
  virtual D3dResult Present(const ConstRows& backBuffer, const Damage& changed) = 0;
  // Whether the device may draw and present frames by what changed (the
  // default), or draws every frame whole and presents it all (a reference
  // for tests).
  virtual bool TracksChanges() { return true; }

  // Asked for every new back buffer, after the host's CreateDevice or Reset
  // succeeded: memory the host lends for it, or null (the default) to let
  // the device allocate its own. The device writes a frame's last pixels
  // into the lease by the time it calls Present (a clear may be kept aside
  // until then).
  virtual BackBufferLease* LendBackBuffer(const PresentParameters& /*parameters*/) {
    return nullptr;
  }

  // Ok lets the operation go ahead; any other code is its result.
  virtual D3dResult Allow(DeviceOperation /*operation*/) { return D3dResult::Ok; }
};

}  // namespace drawing::platform::soft
