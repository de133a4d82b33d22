// A display host that shows the software device in one window it does not
// size: the adapter offers exactly one mode, the window's size at 32 bits
// (X8R8G8B8), so the program's own choice of the widest mode makes the
// screen the window. Such a host changes no display mode and is never lost;
// what remains to it is making the back buffer and presenting it.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/display_host.h"

namespace drawing::platform::soft {

class WindowSizedHost : public DisplayHost {
 public:
  uint32_t ModeCount(Format format) final { return IsUsableFormat(format) ? 1 : 0; }
  bool Mode(Format format, uint32_t index, DisplayMode* mode) final;
  bool IsUsableFormat(Format format) final { return format == Format::X8R8G8B8; }
  Caps DeviceCaps() final { return Caps{}; }
  D3dResult TestCooperativeLevel() final { return D3dResult::Ok; }

 protected:
  // The window's width, height and refresh rate as they are now (the format
  // is filled in by Mode).
  virtual DisplayMode WindowMode() const = 0;
};

}  // namespace drawing::platform::soft
