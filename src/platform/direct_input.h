// DirectInput 7 as the input subsystem uses it: the system keyboard and mouse,
// their data formats and cooperative levels, state snapshots and buffered
// event records. "DINPUT.DLL" is loaded at run time and can be missing.
#pragma once

#include <cstdint>

#include "platform/handles.h"
#include "platform/port_result.h"

namespace drawing::platform {

enum class DiResult : uint32_t {
  Ok = 0,
  BufferOverflow = 1,  // DI_BUFFEROVERFLOW: success, but records were lost
  OtherAppHasPrio = 0x80070005u,
  NotAcquired = 0x8007000Cu,
  InputLost = 0x8007001Eu,
  Acquired = 0x80070055u,  // DIERR_ACQUIRED: not while the device is acquired
  InvalidParam = 0x80070057u,
  Fail = 0x80004005u,
};

enum class DeviceGuid : uint32_t { SysKeyboard, SysMouse };

// The object GUIDs a data format row can name.
enum class ObjectGuid : uint32_t { None, XAxis, YAxis, ZAxis, Key };

// Cooperative-level bits.
enum class Discl : uint32_t {
  Exclusive = 0x01,
  NonExclusive = 0x02,
  Foreground = 0x04,
  Background = 0x08,
  NoWinKey = 0x10,
};
constexpr uint32_t DisclBits(Discl a, Discl b) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(b);
}
constexpr uint32_t DisclBits(Discl a, Discl b, Discl c) {
  return DisclBits(a, b) | static_cast<uint32_t>(c);
}
constexpr bool DisclHas(uint32_t flags, Discl bit) {
  return (flags & static_cast<uint32_t>(bit)) != 0;
}
// A level names exactly one of exclusive/non-exclusive and one of
// foreground/background.
constexpr bool ValidCooperativeLevel(uint32_t flags) {
  return DisclHas(flags, Discl::Exclusive) != DisclHas(flags, Discl::NonExclusive) &&
         DisclHas(flags, Discl::Foreground) != DisclHas(flags, Discl::Background);
}

// Data-format flag and object-type bits.
enum class Didf : uint32_t { AbsAxis = 0x1, RelAxis = 0x2 };
enum class Didft : uint32_t {
  RelAxis = 0x01,
  AbsAxis = 0x02,
  Axis = 0x03,
  PshButton = 0x04,
  TglButton = 0x08,
  Button = 0x0C,
  AnyInstance = 0x00FFFF00u,
  Optional = 0x80000000u,
};
constexpr uint32_t DidftMakeInstance(uint32_t n) {
  return (n & 0xFFFFu) << 8;
}

struct DiObjectDataFormat {
  ObjectGuid guid = ObjectGuid::None;
  uint32_t dwOfs = 0;
  uint32_t dwType = 0;
  uint32_t dwFlags = 0;
};

struct DiDataFormat {
  uint32_t dwSize = 24;
  uint32_t dwObjSize = 16;
  uint32_t dwFlags = 0;
  uint32_t dwDataSize = 0;
  uint32_t dwNumObjs = 0;
  const DiObjectDataFormat* rgodf = nullptr;
};

// Offsets of the system mouse's objects in its data format (DIMOFS_*).
enum class Dimofs : uint32_t {
  X = 0,
  Y = 4,
  Z = 8,
  Button0 = 12,
  Button1 = 13,
  Button2 = 14,
  Button3 = 15,
};

// The byte offset of a mouse object in the standard mouse data format, as
// mouse records name it.
constexpr uint32_t OffsetOf(Dimofs object) {
  return static_cast<uint32_t>(object);
}

enum class DiProperty : uint32_t { BufferSize = 1 };
enum class Diph : uint32_t { Device = 0 };

struct DiPropHeader {
  uint32_t dwSize = 20;
  uint32_t dwHeaderSize = 16;
  uint32_t dwObj = 0;
  Diph dwHow = Diph::Device;
};

struct DiPropDword {
  DiPropHeader diph;
  uint32_t dwData = 0;
};

// One buffered event: the object's offset in the data format and its data
// (signed relative motion for an axis; bit 7 set = pressed for a button).
struct DiDeviceObjectData {
  uint32_t dwOfs = 0;
  uint32_t dwData = 0;
  uint32_t dwTimeStamp = 0;
  uint32_t dwSequence = 0;
};

class InputDevice {
 public:
  virtual uint32_t Release() = 0;
  DRAWING_NODISCARD virtual DiResult SetDataFormat(const DiDataFormat& format) = 0;
  DRAWING_NODISCARD virtual DiResult SetCooperativeLevel(Hwnd window, uint32_t flags) = 0;
  DRAWING_NODISCARD virtual DiResult SetProperty(DiProperty property, const DiPropDword& value) = 0;
  DRAWING_NODISCARD virtual DiResult Acquire() = 0;
  virtual DiResult Unacquire() = 0;
  DRAWING_NODISCARD virtual DiResult GetDeviceState(uint32_t size, void* data) = 0;
  // *count: in, the records the buffer holds; out, the records filled.
  DRAWING_NODISCARD virtual DiResult GetDeviceData(uint32_t objectDataSize,
                                                   DiDeviceObjectData* records, uint32_t* count,
                                                   uint32_t flags) = 0;

 protected:
  virtual ~InputDevice() = default;
};

class DirectInput {
 public:
  virtual uint32_t Release() = 0;
  DRAWING_NODISCARD virtual DiResult CreateDeviceEx(DeviceGuid device, InputDevice** out) = 0;

 protected:
  virtual ~DirectInput() = default;
};

// "DINPUT.DLL": LoadLibraryA, GetProcAddress("DirectInputCreateEx"), the call
// (version 0x0700, IID_IDirectInput7A) and FreeLibrary.
class DirectInputModule {
 public:
  virtual ~DirectInputModule() = default;
  DRAWING_NODISCARD virtual bool LoadLibrary() = 0;
  DRAWING_NODISCARD virtual bool GetProcAddress() = 0;
  // Only after both steps above succeeded; *out stays null on failure.
  DRAWING_NODISCARD virtual DiResult DirectInputCreateEx(Hinstance instance, uint32_t version,
                                                         DirectInput** out) = 0;
  virtual void FreeLibrary() = 0;
};

}  // namespace drawing::platform
