// Which software Direct3D objects are alive, kept by the module that made
// them so tests can check that a program released everything it took, and
// who watches their calls.
#pragma once

#include <cstdint>

namespace drawing::platform::soft {

class EmulationObserver;
class SoftDevice;

struct SoftLiveObjects {
  int32_t direct3d = 0;
  int32_t devices = 0;
  int32_t textures = 0;
  // Render targets and off-screen surfaces; back buffers and texture levels
  // live and die with their device or texture.
  int32_t surfaces = 0;
  // The device created last, while it lives.
  SoftDevice* device = nullptr;
  // Told of every device call; null unless a test watches.
  EmulationObserver* observer = nullptr;

  int32_t Total() const { return direct3d + devices + textures + surfaces; }
};

}  // namespace drawing::platform::soft
