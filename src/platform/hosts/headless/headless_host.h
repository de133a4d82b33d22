// The headless host: every port of the program backed by something a test
// can script and inspect. It owns the fake-clock system, the windows and
// message queue, the in-memory screen with its frame record, the software
// Direct3D device and GDI, the real file system and the scripted input, and
// hands them to the application as one platform::Platform.
//
// The application calls BeginFrame at the start of every frame; the host
// then plays the events the configuration scheduled for that frame.
//
// Does: the shared software emulation (platform/soft) with a scripted
//   keyboard, mouse and focus, a fake clock, presented frames kept for
//   tests and drawing-render, the machine's own file system.
// Does not: show anything, read a real keyboard or mouse, or wait for real
//   time; call and message logs only when a test asks.
// Faults: device losses and cooperative-level answers, failures of device
//   calls (CreateDevice, Present, Reset, GetDC, resources, GetBackBuffer),
//   of the Direct3D and DirectInput modules and calls, of windows and the
//   window class, scheduled by frame (HeadlessConfig) or per device
//   (HeadlessInput).
// Tests: tests/platform/hosts/headless, tests/scenarios, and most tests of
//   the layers above.
#pragma once

#include <cstdint>

#include "platform/hosts/headless/device_fault_script.h"
#include "platform/hosts/headless/headless_config.h"
#include "platform/hosts/headless/headless_display.h"
#include "platform/hosts/headless/headless_input.h"
#include "platform/hosts/headless/headless_system.h"
#include "platform/hosts/headless/headless_windowing.h"
#include "platform/hosts/headless/local_file_system.h"
#include "platform/platform.h"
#include "platform/soft/direct3d/soft_device.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::headless {

class HeadlessHost {
 public:
  explicit HeadlessHost(HeadlessConfig config = {});
  ~HeadlessHost();
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // The ports, for the application.
  platform::Platform GetPlatform();

  // Frame `frame` (1, 2, ...) begins: device losses, cooperative-level
  // answers and call failures scheduled for it take effect, its input
  // events are applied (focus changes post WM_ACTIVATE to the screen
  // window), and presented frames are stamped with its number.
  void BeginFrame(int32_t frame);
  int32_t Frame() const { return frame_; }

  HeadlessSystem& System() { return system_; }
  HeadlessWindowing& Windowing() { return windowing_; }
  HeadlessDisplay& Display() { return display_; }
  DeviceFaultScript& Faults() { return faults_; }
  HeadlessInput& Input() { return input_; }
  soft::SoftDirect3DModule& Direct3D() { return direct3d_; }
  soft::SoftGdi& Gdi() { return gdi_; }
  LocalFileSystem& Files() { return files_; }
  // The device the program created last, while it lives; null otherwise.
  soft::SoftDevice* Device() { return direct3d_.Device(); }

 private:
  void ApplyFaults(int32_t frame);

  HeadlessConfig config_;
  HeadlessSystem system_;
  DeviceFaultScript faults_;
  HeadlessDisplay display_;
  HeadlessWindowing windowing_;
  soft::SoftGdi gdi_;
  LocalFileSystem files_;
  HeadlessInput input_;
  soft::SoftDirect3DModule direct3d_;
  int32_t frame_ = 0;
  bool relayingFocus_ = false;
};

}  // namespace drawing::platform::headless
