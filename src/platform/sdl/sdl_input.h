// "DINPUT.DLL" on SDL: the system keyboard and mouse as DirectInput 7 devices.
// The message pump hands every SDL event to this module; key events keep a
// 256-byte key state in DirectInput codes, mouse motion and buttons become
// records in the buffers of acquired mice, and the window's focus decides
// whether foreground devices may be acquired.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/direct_input.h"
#include "platform/sdl/sdl_event_sink.h"
#include "platform/sdl/sdl_input_device.h"
#include "platform/sdl/video_lease.h"

namespace drawing::platform::sdl {

class SdlInput final : public DirectInputModule, public SdlEventSink {
 public:
  SdlInput();
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  // Fails when SDL's video and events cannot be started.
  bool LoadLibrary() override;
  bool GetProcAddress() override;
  DiResult DirectInputCreateEx(Hinstance instance, uint32_t version, DirectInput** out) override;
  void FreeLibrary() override;

  void OnSdlEvent(const SDL_Event& event) override;

  // Whether the screen window has the keyboard focus, as the last window
  // event said. Losing it takes the acquisition of every foreground device.
  bool Focused() const { return focused_; }
  void SetFocus(bool focused);
  bool KeyHeld(uint8_t code) const { return keys_[code]; }
  bool ButtonHeld(uint32_t button) const { return button < kButtons && buttons_[button]; }

  // For the devices.
  void DeviceReleased(SdlInputDevice* device);
  // Relative mouse mode follows the acquisition of the mouse.
  void SetRelativeMouse(bool on);

 private:
  class Object;
  static constexpr uint32_t kButtons = 4;

  DiResult CreateDevice(DeviceGuid kind, InputDevice** out);
  void ObjectReleased();
  void QueueMouseRecord(uint32_t offset, uint32_t data, uint32_t timeStamp);
  void OnKey(const SDL_KeyboardEvent& key);
  void OnButton(const SDL_MouseButtonEvent& button);

  VideoLease video_;
  bool procFound_ = false;
  std::unique_ptr<Object> object_;
  std::vector<std::unique_ptr<SdlInputDevice>> devices_;
  bool focused_ = false;
  bool keys_[256] = {};
  bool buttons_[kButtons] = {};
  uint32_t sequence_ = 0;
};

}  // namespace drawing::platform::sdl
