// DirectInput 7 in software, the same under every host: the "DINPUT.DLL"
// module, its object, and system keyboard and mouse devices with
// DirectInput's rules (a data format before acquisition, set-up fixed while
// acquired, foreground levels that need the focus to acquire and lose the
// acquisition with it, a bounded event buffer with an overflow flag, reads
// only while acquired). The host feeds in the physical keyboard, mouse and
// focus (KeyDown, Move, Button, SetFocus, ...) and may script faults.
//
// Devices and objects stay owned by the module after the program released
// them, so a stale call is answered instead of crashing and tests can
// inspect them. Nothing else grows while a program runs: the calls are
// kept by no one but the EmulationObserver a test may attach.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/direct_input.h"
#include "platform/soft/input/event_buffer.h"
#include "platform/soft/input/input_host.h"

namespace drawing::platform::soft {

class EmulationObserver;
class SoftInput;

struct InputCall {
  InputCallKind kind = InputCallKind::LoadLibrary;
  DeviceGuid device = DeviceGuid::SysKeyboard;  // for device calls and CreateDeviceEx
  uint32_t value = 0;  // cooperative flags, property value, record count read, ...
  DiResult result = DiResult::Ok;
};

// A keyboard or mouse device handed out by CreateDeviceEx.
class SoftInputDevice final : public InputDevice {
 public:
  SoftInputDevice(SoftInput& owner, DeviceGuid kind);
  ~SoftInputDevice() override = default;
  SoftInputDevice(const SoftInputDevice&) = delete;
  SoftInputDevice& operator=(const SoftInputDevice&) = delete;

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
  bool Released() const { return references_ == 0; }
  bool Acquired() const { return acquired_; }
  bool HasDataFormat() const { return hasFormat_; }
  // The last data format set, with its rows copied.
  const DiDataFormat& DataFormat() const { return format_; }
  const std::vector<DiObjectDataFormat>& FormatRows() const { return formatRows_; }
  Hwnd CooperativeWindow() const { return window_; }
  uint32_t CooperativeFlags() const { return cooperativeFlags_; }
  uint32_t BufferSize() const { return buffer_.Capacity(); }
  // Records waiting in the event buffer and whether some were dropped.
  std::size_t QueuedRecords() const { return buffer_.Size(); }
  bool Overflowed() const { return buffer_.Overflowed(); }

 private:
  friend class SoftInput;

  bool Foreground() const;
  void SetAcquired(bool acquired);
  void FocusLost();
  void Queue(const DiDeviceObjectData& record);
  DiResult NotAcquiredResult();
  DiResult Log(InputCallKind call, DiResult result, uint32_t value = 0);

  SoftInput& owner_;
  DeviceGuid kind_;
  uint32_t references_ = 1;
  bool hasFormat_ = false;
  DiDataFormat format_{};
  std::vector<DiObjectDataFormat> formatRows_;
  Hwnd window_ = nullptr;
  uint32_t cooperativeFlags_;
  bool acquired_ = false;
  bool lostPending_ = false;  // acquisition taken by a focus loss, not yet reported
  EventBuffer buffer_;
};

class SoftInput : public DirectInputModule {
 public:
  // `focused`: whether the program's window has the focus to begin with.
  SoftInput(InputHost& host, bool focused);
  ~SoftInput() override;
  SoftInput(const SoftInput&) = delete;
  SoftInput& operator=(const SoftInput&) = delete;

  // DirectInputModule.
  bool LoadLibrary() override;
  bool GetProcAddress() override;
  DiResult DirectInputCreateEx(Hinstance instance, uint32_t version, DirectInput** out) override;
  void FreeLibrary() override;

  // Physical keyboard: codes 0..255; others are ignored.
  void KeyDown(int32_t code);
  void KeyUp(int32_t code);
  bool KeyHeld(int32_t code) const;
  // Physical mouse: one x record if dx != 0, then one y record if dy != 0.
  void Move(int32_t dx, int32_t dy);
  void Wheel(int32_t dz);
  // Buttons 1..4 (left, right, middle, fourth): one record at offset 11 +
  // button, data 0x80 when pressed, 0 when let go.
  void Button(int32_t button, bool down);
  bool ButtonHeld(int32_t button) const;
  // Keys and buttons count as let go, without records (their releases
  // happened where nobody could see them).
  void ForgetHeld();
  // The time stamp of the records queued from now on.
  void SetTimeStamp(uint32_t timeStamp) { timeStamp_ = timeStamp; }

  // Whether the program's window has the focus. Losing it takes the
  // acquisition of every foreground device; gaining it restores nothing,
  // the program has to acquire again.
  void SetFocus(bool focused);
  bool Focused() const { return focused_; }
  // Told about every change of the focus, after the devices, so a host can
  // send the matching activation to its window.
  void SetFocusListener(std::function<void(bool focused)> listener);

  // Inspection.
  bool LibraryLoaded() const { return libraryLoaded_; }
  bool ObjectAlive() const;
  // The latest device created for the kind, null when none was.
  SoftInputDevice* Device(DeviceGuid device) const;
  // Told of every call from now on; null for none.
  void SetObserver(EmulationObserver* observer) { observer_ = observer; }

 private:
  friend class SoftInputDevice;
  class Object;

  DiResult CreateDevice(DeviceGuid device, InputDevice** out);
  void Record(const InputCall& call);
  void QueueMouseRecord(uint32_t offset, uint32_t data);

  InputHost& host_;
  bool libraryLoaded_ = false;
  bool procFound_ = false;
  std::unique_ptr<Object> object_;
  std::vector<std::unique_ptr<Object>> releasedObjects_;
  std::vector<std::unique_ptr<SoftInputDevice>> devices_;

  bool keys_[256] = {};
  bool buttons_[4] = {};
  bool focused_;
  std::function<void(bool)> focusListener_;
  uint32_t timeStamp_ = 0;
  uint32_t sequence_ = 0;
  EmulationObserver* observer_ = nullptr;
};

}  // namespace drawing::platform::soft
