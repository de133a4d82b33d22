#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_windowing.h"

namespace drawing::platform::win32 {

namespace {

static_assert(sizeof(PAINTSTRUCT) <= 80);

// USER32's window procedure for every class registered here: it forwards to
// the platform procedure bound to the window. Messages sent before
// WM_NCCREATE (WM_GETMINMAXINFO) find no binding yet and get the default.
LRESULT CALLBACK ForwardingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto* binding =
      reinterpret_cast<const ClassBinding*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (binding == nullptr || binding->procedure == nullptr) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return binding->procedure(binding->context, FromNative(window), message, wParam, lParam);
}

MSG ToNativeMessage(const Msg& msg) {
  MSG native{};
  native.hwnd = ToNative(msg.hwnd);
  native.message = msg.message;
  native.wParam = msg.wParam;
  native.lParam = msg.lParam;
  return native;
}

}  // namespace

Win32Windowing::~Win32Windowing() {
  for (const Hwnd window : windows_) {
    SetWindowLongPtrA(ToNative(window), GWLP_USERDATA, 0);
    DestroyWindow(ToNative(window));
  }
  for (const auto& [name, registered] : classes_) {
    UnregisterClassA(name.c_str(), ToNative(registered.instance));
  }
}

Hinstance Win32Windowing::GetModuleHandle() {
  return FromNative(GetModuleHandleA(nullptr));
}

Hicon Win32Windowing::LoadIcon(Hinstance instance, int resource) {
  return FromNative(LoadIconA(ToNative(instance), MAKEINTRESOURCEA(resource)));
}

bool Win32Windowing::RegisterClassEx(const WndClassEx& windowClass) {
  if (windowClass.className == nullptr) {
    return false;
  }
  WNDCLASSEXA native{};
  native.cbSize = sizeof(native);
  native.style = windowClass.style;
  native.lpfnWndProc = ForwardingWindowProc;
  native.hInstance = ToNative(windowClass.instance);
  native.hIcon = ToNative(windowClass.icon);
  native.hbrBackground = reinterpret_cast<HBRUSH>(ToNative(windowClass.background));
  native.lpszClassName = windowClass.className;
  if (RegisterClassExA(&native) == 0) {
    return false;
  }
  classes_[windowClass.className] = {{windowClass.windowProc, windowClass.context},
                                     windowClass.instance};
  return true;
}

Hwnd Win32Windowing::CreateWindowEx(uint32_t exStyle, const char* className, const char* title,
                                    uint32_t style, int x, int y, int width, int height,
                                    Hinstance instance) {
  ClassBinding* binding = nullptr;
  if (className != nullptr) {
    const auto found = classes_.find(className);
    if (found != classes_.end()) {
      binding = &found->second.binding;
    }
  }
  const HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height,
                                      nullptr, nullptr, ToNative(instance), binding);
  if (window != nullptr) {
    windows_.push_back(FromNative(window));
  }
  return FromNative(window);
}

bool Win32Windowing::SetWindowText(Hwnd window, const char* text) {
  return SetWindowTextA(ToNative(window), text) != FALSE;
}

bool Win32Windowing::MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) {
  return ::MoveWindow(ToNative(window), x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool Win32Windowing::ShowWindow(Hwnd window, ShowCommand command) {
  return ::ShowWindow(ToNative(window), static_cast<int>(command)) != FALSE;
}

int Win32Windowing::ShowCursor(bool show) {
  return ::ShowCursor(show ? TRUE : FALSE);
}

bool Win32Windowing::ClipCursor(const Rect* rect) {
  if (rect == nullptr) {
    return ::ClipCursor(nullptr) != FALSE;
  }
  const RECT native = ToNative(*rect);
  return ::ClipCursor(&native) != FALSE;
}

bool Win32Windowing::PeekMessage(Msg* msg) {
  MSG native{};
  if (PeekMessageA(&native, nullptr, 0, 0, PM_REMOVE) == FALSE) {
    return false;
  }
  msg->hwnd = FromNative(native.hwnd);
  msg->message = native.message;
  msg->wParam = native.wParam;
  msg->lParam = native.lParam;
  return true;
}

bool Win32Windowing::TranslateMessage(const Msg& msg) {
  const MSG native = ToNativeMessage(msg);
  return ::TranslateMessage(&native) != FALSE;
}

intptr_t Win32Windowing::DispatchMessage(const Msg& msg) {
  const MSG native = ToNativeMessage(msg);
  return DispatchMessageA(&native);
}

intptr_t Win32Windowing::DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam) {
  return DefWindowProcA(ToNative(window), message, wParam, lParam);
}

void Win32Windowing::BeginPaint(Hwnd window) {
  ::BeginPaint(ToNative(window), reinterpret_cast<PAINTSTRUCT*>(paint_));
}

void Win32Windowing::EndPaint(Hwnd window) {
  ::EndPaint(ToNative(window), reinterpret_cast<const PAINTSTRUCT*>(paint_));
}

namespace {

struct MonitorVisit {
  MonitorEnumProc proc;
  void* context;
};

Rect FromNativeRect(const RECT& rect) {
  return Rect{static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top),
              static_cast<int32_t>(rect.right), static_cast<int32_t>(rect.bottom)};
}

BOOL CALLBACK VisitMonitor(HMONITOR monitor, HDC /*dc*/, LPRECT rect, LPARAM data) {
  const auto* visit = reinterpret_cast<const MonitorVisit*>(data);
  return visit->proc(visit->context, reinterpret_cast<Hmonitor>(monitor), FromNativeRect(*rect))
             ? TRUE
             : FALSE;
}

}  // namespace

bool Win32Windowing::EnumDisplayMonitors(MonitorEnumProc proc, void* context) {
  MonitorVisit visit{proc, context};
  return ::EnumDisplayMonitors(nullptr, nullptr, VisitMonitor, reinterpret_cast<LPARAM>(&visit)) !=
         FALSE;
}

bool Win32Windowing::GetMonitorInfo(Hmonitor monitor, MonitorInfo* info) {
  MONITORINFO native{};
  native.cbSize = sizeof(native);
  if (::GetMonitorInfoA(reinterpret_cast<HMONITOR>(monitor), &native) == FALSE) {
    return false;
  }
  info->rcMonitor = FromNativeRect(native.rcMonitor);
  info->rcWork = FromNativeRect(native.rcWork);
  info->dwFlags = native.dwFlags;
  return true;
}

}  // namespace drawing::platform::win32
