// A fresh display on its own headless host, for one test.
#pragma once

#include <cstdint>
#include <utility>

#include "display/display.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/soft/direct3d/soft_device.h"
#include "runtime/main_heap.h"
#include "support/emulation_recorder.h"

namespace drawing::display::testing {

using platform::headless::HeadlessConfig;
using platform::headless::HeadlessHost;
using platform::soft::DeviceCallKind;
using platform::soft::WindowCallKind;

struct DisplayWorld {
  explicit DisplayWorld(HeadlessConfig config = {})
      : host(std::move(config)), platform(host.GetPlatform()), display(heap, platform) {
    recorder.Watch(host);
  }
  ~DisplayWorld() { display.ShutdownDisplay(); }

  // InitDisplay and OpenFullScreen as the application does them.
  int Open(int width = 320, int height = 240, int depth = 32) {
    if (display.InitDisplay() == 0) {
      return 0;
    }
    return display.OpenFullScreen(width, height, depth, "drawing");
  }

  const ScreenState& State() const { return display.State(); }
  platform::soft::SoftDevice& Device() { return *host.Device(); }
  // Calls of a kind on the device made last.
  uint32_t Calls(DeviceCallKind kind) const { return recorder.DeviceCallCount(kind); }
  // The raw back-buffer pixel at (x, y), read through a lock.
  uint32_t BackBufferPixel(int32_t x, int32_t y) {
    return host.Device()->BackBuffer().ReadPixel(static_cast<uint32_t>(x),
                                                 static_cast<uint32_t>(y));
  }

  // Declared first so it outlives everything that reports to it.
  support::EmulationRecorder recorder;
  runtime::MainHeap heap;
  HeadlessHost host;
  platform::Platform platform;
  Display display;
};

// A configuration whose adapter lists the given modes.
inline HeadlessConfig WithModes(std::vector<platform::DisplayMode> modes) {
  HeadlessConfig config;
  config.display.modes = std::move(modes);
  return config;
}

}  // namespace drawing::display::testing
