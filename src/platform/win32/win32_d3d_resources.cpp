#include "platform/win32/win32_d3d.h"

namespace drawing::platform::win32 {

namespace {

D3dResult Lock(LockedRect* locked, const Rect* rect, LockFlag flags, auto&& lock) {
  D3DLOCKED_RECT native{};
  RECT area{};
  if (rect != nullptr) {
    area = win32::ToNative(*rect);
  }
  const HRESULT result =
      lock(&native, rect != nullptr ? &area : nullptr, static_cast<DWORD>(flags));
  if (SUCCEEDED(result)) {
    locked->Pitch = native.Pitch;
    locked->pBits = native.pBits;
  }
  return FromNative(result);
}

}  // namespace

D3dResult Win32Surface::LockRect(LockedRect* locked, const Rect* rect, LockFlag flags) {
  return Lock(locked, rect, flags, [this](D3DLOCKED_RECT* out, const RECT* area, DWORD bits) {
    return native()->LockRect(out, area, bits);
  });
}

D3dResult Win32Surface::UnlockRect() {
  return FromNative(native()->UnlockRect());
}

D3dResult Win32Surface::GetDC(Hdc* dc) {
  HDC native = nullptr;
  const HRESULT result = this->native()->GetDC(&native);
  *dc = SUCCEEDED(result) ? win32::FromNative(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Surface::ReleaseDC(Hdc dc) {
  return FromNative(native()->ReleaseDC(win32::ToNative(dc)));
}

D3dResult Win32Texture::GetSurfaceLevel(uint32_t level, Surface** surface) {
  IDirect3DSurface9* native = nullptr;
  const HRESULT result = this->native()->GetSurfaceLevel(level, &native);
  *surface = SUCCEEDED(result) && native != nullptr ? new Win32Surface(native) : nullptr;
  return FromNative(result);
}

D3dResult Win32Texture::LockRect(uint32_t level, LockedRect* locked, const Rect* rect,
                                 LockFlag flags) {
  return Lock(locked, rect, flags,
              [this, level](D3DLOCKED_RECT* out, const RECT* area, DWORD bits) {
                return native()->LockRect(level, out, area, bits);
              });
}

D3dResult Win32Texture::UnlockRect(uint32_t level) {
  return FromNative(native()->UnlockRect(level));
}

}  // namespace drawing::platform::win32
