#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_saver_window.h"

namespace drawing::platform::win32 {

bool SaverWindow::DispatchWaiting(Hwnd only) {
  MSG msg{};
  while (PeekMessageW(&msg, ToNative(only), 0, 0, PM_REMOVE) != FALSE) {
    if (msg.message == WM_QUIT) {
      if (only != nullptr) {
        PostQuitMessage(static_cast<int>(msg.wParam));
      }
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void SaverWindow::Close(bool destroyed, const wchar_t* className) {
  const HWND window = ToNative(window_);
  if (window != nullptr && !destroyed) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  UnregisterClassW(className, GetModuleHandleW(nullptr));
}

}  // namespace drawing::platform::win32
