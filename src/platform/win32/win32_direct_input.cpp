#include "platform/win32/win32_dinput.h"
//
#include "platform/win32/win32_direct_input.h"

namespace drawing::platform::win32 {

bool Win32DirectInputModule::LoadLibrary() {
  if (library_ == nullptr) {
    library_ = LoadLibraryA("DINPUT.DLL");
  }
  return library_ != nullptr;
}

bool Win32DirectInputModule::GetProcAddress() {
  if (library_ == nullptr) {
    return false;
  }
  create_ =
      ProcAs<void (*)()>(::GetProcAddress(static_cast<HMODULE>(library_), "DirectInputCreateEx"));
  return create_ != nullptr;
}

DiResult Win32DirectInputModule::DirectInputCreateEx(Hinstance instance, uint32_t version,
                                                     DirectInput** out) {
  *out = nullptr;
  if (create_ == nullptr) {
    return DiResult::Fail;
  }
  using Create = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);
  void* object = nullptr;
  const HRESULT result = reinterpret_cast<Create>(create_)(win32::ToNative(instance), version,
                                                           IID_IDirectInput7A, &object, nullptr);
  if (object != nullptr) {
    *out = new Win32DirectInput(static_cast<IDirectInput7A*>(object));
  }
  return FromNativeResult(result);
}

void Win32DirectInputModule::FreeLibrary() {
  if (library_ != nullptr) {
    ::FreeLibrary(static_cast<HMODULE>(library_));
    library_ = nullptr;
    create_ = nullptr;
  }
}

uint32_t Win32DirectInput::Release() {
  const ULONG left = native_->Release();
  delete this;
  return left;
}

DiResult Win32DirectInput::CreateDeviceEx(DeviceGuid device, InputDevice** out) {
  const GUID& guid = device == DeviceGuid::SysKeyboard ? GUID_SysKeyboard : GUID_SysMouse;
  void* created = nullptr;
  const HRESULT result = native_->CreateDeviceEx(guid, IID_IDirectInputDevice7A, &created, nullptr);
  *out = SUCCEEDED(result) && created != nullptr
             ? new Win32InputDevice(static_cast<IDirectInputDevice7A*>(created))
             : nullptr;
  return FromNativeResult(result);
}

uint32_t Win32InputDevice::Release() {
  const ULONG left = native_->Release();
  delete this;
  return left;
}

DiResult Win32InputDevice::SetDataFormat(const DiDataFormat& format) {
  // The row and record sizes are those of this build's structures, which on
  // 64-bit Windows differ from the 32-bit values the port carries.
  std::vector<DIOBJECTDATAFORMAT> rows = ToNativeRows(format);
  DIDATAFORMAT native{};
  native.dwSize = sizeof(DIDATAFORMAT);
  native.dwObjSize = sizeof(DIOBJECTDATAFORMAT);
  native.dwFlags = format.dwFlags;
  native.dwDataSize = format.dwDataSize;
  native.dwNumObjs = static_cast<DWORD>(rows.size());
  native.rgodf = rows.empty() ? nullptr : rows.data();
  return FromNativeResult(native_->SetDataFormat(&native));
}

DiResult Win32InputDevice::SetCooperativeLevel(Hwnd window, uint32_t flags) {
  return FromNativeResult(native_->SetCooperativeLevel(win32::ToNative(window), flags));
}

DiResult Win32InputDevice::SetProperty(DiProperty property, const DiPropDword& value) {
  if (property != DiProperty::BufferSize) {
    return DiResult::InvalidParam;
  }
  DIPROPDWORD native{};
  native.diph.dwSize = sizeof(DIPROPDWORD);
  native.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  native.diph.dwObj = value.diph.dwObj;
  native.diph.dwHow = static_cast<DWORD>(value.diph.dwHow);
  native.dwData = value.dwData;
  return FromNativeResult(native_->SetProperty(DIPROP_BUFFERSIZE, &native.diph));
}

DiResult Win32InputDevice::Acquire() {
  return FromNativeResult(native_->Acquire());
}

DiResult Win32InputDevice::Unacquire() {
  return FromNativeResult(native_->Unacquire());
}

DiResult Win32InputDevice::GetDeviceState(uint32_t size, void* data) {
  return FromNativeResult(native_->GetDeviceState(size, data));
}

DiResult Win32InputDevice::GetDeviceData(uint32_t /*objectDataSize*/, DiDeviceObjectData* records,
                                         uint32_t* count, uint32_t flags) {
  static_assert(sizeof(DIDEVICEOBJECTDATA) == sizeof(DiDeviceObjectData));
  std::vector<DIDEVICEOBJECTDATA> native(*count);
  DWORD filled = *count;
  const HRESULT result = native_->GetDeviceData(
      sizeof(DIDEVICEOBJECTDATA), native.empty() ? nullptr : native.data(), &filled, flags);
  if (SUCCEEDED(result)) {
    for (DWORD i = 0; i < filled && i < *count; ++i) {
      records[i] = DiDeviceObjectData{native[i].dwOfs, native[i].dwData, native[i].dwTimeStamp,
                                      native[i].dwSequence};
    }
    *count = filled;
  }
  return FromNativeResult(result);
}

}  // namespace drawing::platform::win32
