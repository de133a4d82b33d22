// DirectInput of the headless host: the software keyboard and mouse devices
// driven by a script. Tests and input scripts press keys, move the mouse and
// change the focus (an event timeline played frame by frame, each record
// stamped with its frame number); faults make chosen calls fail.
// The window's focus is on from the start.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/soft/input/soft_input.h"

namespace drawing::platform::headless {

using soft::InputCall;
using soft::InputCallKind;

// One change of the physical devices or of the window's focus, as an input
// script names it.
struct InputEvent {
  enum class Kind : uint8_t { KeyDown, KeyUp, Move, Wheel, Button, Focus };
  Kind kind = Kind::KeyDown;
  int32_t a = 0;  // key code; dx; wheel delta; button 1..4; focus 0/1
  int32_t b = 0;  // dy; button pressed 0/1

  static InputEvent KeyDown(int32_t code) { return {Kind::KeyDown, code, 0}; }
  static InputEvent KeyUp(int32_t code) { return {Kind::KeyUp, code, 0}; }
  static InputEvent Move(int32_t dx, int32_t dy) { return {Kind::Move, dx, dy}; }
  static InputEvent Wheel(int32_t dz) { return {Kind::Wheel, dz, 0}; }
  static InputEvent Button(int32_t button, bool down) {
    return {Kind::Button, button, down ? 1 : 0};
  }
  static InputEvent Focus(bool focused) { return {Kind::Focus, focused ? 1 : 0, 0}; }
};

// How often a call fails: 0 never, n the next n calls, Always every call.
inline constexpr int32_t kFailAlways = -1;

struct DeviceFaults {
  bool createDevice = false;  // CreateDeviceEx for this device fails
  int32_t setDataFormat = 0;
  int32_t setCooperativeLevel = 0;
  int32_t setProperty = 0;
  int32_t acquire = 0;
  int32_t reads = 0;  // GetDeviceState / GetDeviceData
  DiResult readCode = DiResult::Fail;
};

class HeadlessInput final : private soft::InputHost, public soft::SoftInput {
 public:
  HeadlessInput();

  // Frame timeline: events added for a frame are applied, in the order added,
  // when that frame begins. The frame number also stamps the records.
  void AddEvent(uint32_t frame, const InputEvent& event);
  void BeginFrame(uint32_t frame);
  void Apply(const InputEvent& event);
  // The last frame that has a scripted event; 0 when the timeline is empty.
  uint32_t LastScriptedFrame() const;

  // Faults of the module itself.
  void FailLoadLibrary(bool fail) { failLoadLibrary_ = fail; }
  void FailGetProcAddress(bool fail) { failGetProcAddress_ = fail; }
  void FailCreate(bool fail) { failCreate_ = fail; }
  // Faults of the keyboard or mouse devices, present and future.
  DeviceFaults& Faults(DeviceGuid device);

 private:
  std::optional<DiResult> Fault(InputCallKind call, DeviceGuid device) override;

  bool failLoadLibrary_ = false;
  bool failGetProcAddress_ = false;
  bool failCreate_ = false;
  DeviceFaults keyboardFaults_{};
  DeviceFaults mouseFaults_{};
  std::map<uint32_t, std::vector<InputEvent>> timeline_;
};

}  // namespace drawing::platform::headless
