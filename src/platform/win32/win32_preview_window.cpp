#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_preview_window.h"

namespace drawing::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"drawing preview";

// The window's user data is the flag its owner reads in Pump.
LRESULT CALLBACK PreviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_DESTROY: {
      auto* destroyed = reinterpret_cast<bool*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (destroyed != nullptr) {
        *destroyed = true;
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the next frame covers everything
    case WM_PAINT:
      // The next frame repaints what was uncovered.
      SetPropW(window, kPictureLostProperty, reinterpret_cast<HANDLE>(1));
      ValidateRect(window, nullptr);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

PreviewWindow::PreviewWindow(uintptr_t parent) : parent_(parent) {
  const HWND parentWindow = reinterpret_cast<HWND>(parent);
  RECT client{};
  if (GetClientRect(parentWindow, &client) == FALSE) {
    return;
  }
  width_ = client.right > client.left ? client.right - client.left : 1;
  height_ = client.bottom > client.top ? client.bottom - client.top : 1;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = PreviewProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  // A child is never activated itself; showing it without SW_SHOW's
  // activation leaves the focus where the user has it.
  const HWND window =
      CreateWindowExW(WS_EX_NOPARENTNOTIFY, kClassName, L"drawing preview", WS_CHILD, 0, 0, width_,
                      height_, parentWindow, nullptr, instance, &destroyed_);
  if (window == nullptr) {
    return;
  }
  ShowWindow(window, SW_SHOWNA);
  window_ = FromNative(window);
}

PreviewWindow::~PreviewWindow() {
  Close(destroyed_, kClassName);
}

bool PreviewWindow::Pump() {
  if (!DispatchWaiting()) {
    destroyed_ = true;
  }
  return !destroyed_ && IsWindow(reinterpret_cast<HWND>(parent_)) != FALSE;
}

}  // namespace drawing::platform::win32
