// The Windows headers for the win32 adapter's own sources, and the casts
// between our opaque handles and the real ones. Never included by a header
// that code outside src/platform/win32 sees.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The ports keep the published method names; these ANSI/wide selector macros
// would rename them in our own declarations. The adapter calls the A
// functions by their full names instead.
#undef LoadLibrary
#undef GetModuleHandle
#undef LoadIcon
#undef RegisterClassEx
#undef CreateWindowEx
#undef SetWindowText
#undef PeekMessage
#undef DispatchMessage
#undef DefWindowProc
#undef GetMonitorInfo

#include "platform/handles.h"

namespace drawing::platform::win32 {

inline HWND ToNative(Hwnd window) {
  return reinterpret_cast<HWND>(window);
}
inline HDC ToNative(Hdc dc) {
  return reinterpret_cast<HDC>(dc);
}
inline HGDIOBJ ToNative(Hgdiobj object) {
  return reinterpret_cast<HGDIOBJ>(object);
}
inline HINSTANCE ToNative(Hinstance instance) {
  return reinterpret_cast<HINSTANCE>(instance);
}
inline HICON ToNative(Hicon icon) {
  return reinterpret_cast<HICON>(icon);
}

inline Hwnd FromNative(HWND window) {
  return reinterpret_cast<Hwnd>(window);
}
inline Hdc FromNative(HDC dc) {
  return reinterpret_cast<Hdc>(dc);
}
inline Hgdiobj FromNative(HGDIOBJ object) {
  return reinterpret_cast<Hgdiobj>(object);
}
inline Hinstance FromNative(HINSTANCE instance) {
  return reinterpret_cast<Hinstance>(instance);
}
inline Hicon FromNative(HICON icon) {
  return reinterpret_cast<Hicon>(icon);
}

inline RECT ToNative(const Rect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// GetProcAddress answers a generic function pointer; going through void(*)()
// states that the caller knows the real signature.
template <typename Function>
Function ProcAs(FARPROC proc) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace drawing::platform::win32
