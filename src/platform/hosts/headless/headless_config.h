// Everything a headless run is set up with: the screen, the clock, the
// window system, the Direct3D module, and the timeline of faults and input
// events that HeadlessHost::BeginFrame plays. Events of frame 0 apply when
// the host is built, before the program starts.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/hosts/headless/device_fault_script.h"
#include "platform/hosts/headless/headless_display.h"
#include "platform/hosts/headless/headless_input.h"
#include "platform/hosts/headless/headless_system.h"
#include "platform/hosts/headless/headless_windowing.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"

namespace drawing::platform::headless {

// The device is lost when `frame` begins, for `lostForMs` milliseconds of
// the fake clock; then it waits for a reset.
struct DeviceLossEvent {
  int32_t frame = 0;
  uint32_t lostForMs = 0;
};

// Answers of the next TestCooperativeLevel calls from `frame` on.
struct CooperativeCodesEvent {
  int32_t frame = 0;
  std::vector<D3dResult> codes;
};

// From `frame` on, the next `count` calls fail with `result`
// (kFailAlways: every call).
struct CallFailureEvent {
  int32_t frame = 0;
  FaultyCall call = FaultyCall::Present;
  int32_t count = 1;
  D3dResult result = D3dResult::Fail;
};

// A change of the physical keyboard or mouse, or of the focus, applied when
// `frame` begins. A focus change reaches the screen window as WM_ACTIVATE.
struct InputScriptEvent {
  int32_t frame = 0;
  InputEvent event;
};

struct HeadlessConfig {
  DisplayConfig display;
  SystemConfig system;
  WindowingConfig windowing;
  soft::SoftDirect3DModuleFaults direct3d;

  std::vector<DeviceLossEvent> deviceLosses;
  std::vector<CooperativeCodesEvent> cooperativeCodes;
  std::vector<CallFailureEvent> failures;
  std::vector<InputScriptEvent> input;
};

}  // namespace drawing::platform::headless
