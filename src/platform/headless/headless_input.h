// Scripted DirectInput for the headless host: a physical keyboard and mouse
// that tests and input scripts press and move, seen through keyboard and mouse
// devices that behave like DirectInput 7's (foreground cooperative levels,
// acquisition lost with the focus, a bounded event buffer with an overflow
// flag), plus fault injection and a log of every call made on them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/direct_input.h"

namespace drawing::platform::headless {

class HeadlessInput;

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

// Every call the program makes on the module, the object or a device.
enum class InputCallKind : uint8_t {
  LoadLibrary,
  GetProcAddress,
  DirectInputCreateEx,
  FreeLibrary,
  ObjectRelease,
  CreateDeviceEx,
  SetDataFormat,
  SetCooperativeLevel,
  SetProperty,
  Acquire,
  Unacquire,
  GetDeviceState,
  GetDeviceData,
  DeviceRelease,
};

struct InputCall {
  InputCallKind kind = InputCallKind::LoadLibrary;
  DeviceGuid device = DeviceGuid::SysKeyboard;  // for device calls and CreateDeviceEx
  uint32_t value = 0;  // cooperative flags, property value, record count read, ...
  DiResult result = DiResult::Ok;
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

// A keyboard or mouse device handed out by CreateDeviceEx. It stays owned by
// its HeadlessInput, so tests can inspect it after the program released it.
class HeadlessInputDevice final : public InputDevice {
 public:
  HeadlessInputDevice(HeadlessInput& owner, DeviceGuid kind);
  ~HeadlessInputDevice() override = default;

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
  uint32_t BufferSize() const { return bufferSize_; }
  // Records waiting in the event buffer and whether some were dropped.
  std::size_t QueuedRecords() const { return queue_.size(); }
  bool Overflowed() const { return overflow_; }

 private:
  friend class HeadlessInput;

  void FocusLost();
  void QueueRecord(uint32_t offset, uint32_t data, uint32_t timeStamp, uint32_t sequence);
  DiResult NotAcquiredResult();
  DiResult Log(InputCallKind kind, DiResult result, uint32_t value = 0);

  HeadlessInput& owner_;
  DeviceGuid kind_;
  uint32_t references_ = 1;
  bool hasFormat_ = false;
  DiDataFormat format_{};
  std::vector<DiObjectDataFormat> formatRows_;
  Hwnd window_ = nullptr;
  uint32_t cooperativeFlags_ = 0;
  uint32_t bufferSize_ = 0;  // 0: unbuffered, no records are kept
  bool acquired_ = false;
  bool lostPending_ = false;  // acquisition taken by a focus loss, not yet reported
  std::vector<DiDeviceObjectData> queue_;
  bool overflow_ = false;
};

// The "DINPUT.DLL" module of the headless host together with the physical
// keyboard and mouse it reads.
class HeadlessInput final : public DirectInputModule {
 public:
  HeadlessInput();
  ~HeadlessInput() override;
  HeadlessInput(const HeadlessInput&) = delete;
  HeadlessInput& operator=(const HeadlessInput&) = delete;

  // DirectInputModule.
  bool LoadLibrary() override;
  bool GetProcAddress() override;
  DiResult DirectInputCreateEx(Hinstance instance, uint32_t version, DirectInput** out) override;
  void FreeLibrary() override;

  // Physical keyboard: codes 0..255.
  void KeyDown(int32_t code);
  void KeyUp(int32_t code);
  bool KeyHeld(int32_t code) const;

  // Physical mouse: one x record if dx != 0, then one y record if dy != 0.
  void Move(int32_t dx, int32_t dy);
  void Wheel(int32_t dz);
  // Buttons 1..4 (left, right, middle, fourth): one record at offset 11 + button,
  // data 0x80 when pressed, 0 when let go.
  void Button(int32_t button, bool down);
  bool ButtonHeld(int32_t button) const;

  // Whether the screen window is the foreground window. Losing the focus takes
  // the acquisition of every foreground device; gaining it restores nothing,
  // the program has to acquire again.
  void SetFocus(bool focused);
  bool Focused() const { return focused_; }
  // Told about every focus change, so a host can send the matching activation
  // to its window.
  void SetFocusListener(std::function<void(bool focused)> listener);

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

  // Inspection.
  bool LibraryLoaded() const { return libraryLoaded_; }
  bool ObjectAlive() const;
  // The latest device created for the kind, null when none was.
  HeadlessInputDevice* Device(DeviceGuid device) const;
  const std::vector<InputCall>& Calls() const { return calls_; }
  // Calls of one kind on one device (module calls: any device).
  std::vector<InputCall> CallsOf(InputCallKind kind) const;
  std::vector<InputCall> CallsOf(InputCallKind kind, DeviceGuid device) const;
  void ClearCalls() { calls_.clear(); }

 private:
  friend class HeadlessInputDevice;
  class Object;

  DiResult CreateDevice(DeviceGuid device, InputDevice** out);
  void ObjectReleased();
  void Record(const InputCall& call) { calls_.push_back(call); }
  void QueueMouseRecord(uint32_t offset, uint32_t data);
  static bool Consume(int32_t& counter);

  bool libraryLoaded_ = false;
  bool procFound_ = false;
  bool failLoadLibrary_ = false;
  bool failGetProcAddress_ = false;
  bool failCreate_ = false;
  DeviceFaults keyboardFaults_{};
  DeviceFaults mouseFaults_{};

  std::unique_ptr<Object> object_;
  std::vector<std::unique_ptr<Object>> releasedObjects_;
  std::vector<std::unique_ptr<HeadlessInputDevice>> devices_;

  bool keys_[256] = {};
  bool buttons_[4] = {};
  bool focused_ = true;
  std::function<void(bool)> focusListener_;

  std::map<uint32_t, std::vector<InputEvent>> timeline_;
  uint32_t frame_ = 0;
  uint32_t sequence_ = 0;
  std::vector<InputCall> calls_;
};

}  // namespace drawing::platform::headless
