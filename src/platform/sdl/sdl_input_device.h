// A keyboard or mouse device of the SDL input module, with DirectInput 7's
// rules: a data format before acquisition, foreground cooperative levels that
// need the window's focus to acquire and lose the acquisition with it, state
// reads and buffered reads only while acquired.
#pragma once

#include <cstdint>

#include "platform/direct_input.h"
#include "platform/sdl/event_buffer.h"

namespace drawing::platform::sdl {

class SdlInput;

class SdlInputDevice final : public InputDevice {
 public:
  SdlInputDevice(SdlInput& owner, DeviceGuid kind);
  ~SdlInputDevice() override = default;
  SdlInputDevice(const SdlInputDevice&) = delete;
  SdlInputDevice& operator=(const SdlInputDevice&) = delete;

  // The last Release gives the device back to its module, which deletes it.
  uint32_t Release() override;
  DiResult SetDataFormat(const DiDataFormat& format) override;
  DiResult SetCooperativeLevel(Hwnd window, uint32_t flags) override;
  DiResult SetProperty(DiProperty property, const DiPropDword& value) override;
  DiResult Acquire() override;
  DiResult Unacquire() override;
  DiResult GetDeviceState(uint32_t size, void* data) override;
  DiResult GetDeviceData(uint32_t objectDataSize, DiDeviceObjectData* records, uint32_t* count,
                         uint32_t flags) override;

  DeviceGuid Kind() const { return kind_; }
  bool Acquired() const { return acquired_; }
  uint32_t CooperativeFlags() const { return cooperativeFlags_; }
  const EventBuffer& Buffer() const { return buffer_; }

  // From the module.
  void FocusLost();
  void Queue(const DiDeviceObjectData& record);

 private:
  bool Foreground() const;
  void SetAcquired(bool acquired);
  DiResult NotAcquiredResult();

  SdlInput& owner_;
  DeviceGuid kind_;
  uint32_t references_ = 1;
  uint32_t dataSize_ = 0;  // of the data format; 0 until one is set
  uint32_t cooperativeFlags_;
  bool acquired_ = false;
  bool lostPending_ = false;  // acquisition taken by a focus loss, not yet reported
  EventBuffer buffer_;
};

}  // namespace drawing::platform::sdl
