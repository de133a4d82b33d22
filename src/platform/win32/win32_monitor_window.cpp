#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_monitor_window.h"

#include <windowsx.h>

namespace drawing::platform::win32 {

namespace {

constexpr wchar_t kClassName[] = L"drawing monitor";

MonitorWindow::State* StateOf(HWND window) {
  return reinterpret_cast<MonitorWindow::State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The first position the mouse is seen at is where it rests; from there a
// move right or down ends the saver, one left or up does not.
void MouseMoved(MonitorWindow::State& state, int32_t x, int32_t y) {
  if (!state.mouseSeen) {
    state.mouseSeen = true;
  } else if (x > state.mouseX || y > state.mouseY) {
    state.endSaver->store(true);
  }
  state.mouseX = x;
  state.mouseY = y;
}

LRESULT CALLBACK MonitorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  MonitorWindow::State* state = StateOf(window);
  if (state == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_SETCURSOR:
      SetCursor(nullptr);
      return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      state->endSaver->store(true);
      return 0;
    case WM_MOUSEMOVE:
      MouseMoved(*state, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the next frame covers everything
    case WM_PAINT:
      // The next frame repaints what was uncovered.
      SetPropW(window, kPictureLostProperty, reinterpret_cast<HANDLE>(1));
      ValidateRect(window, nullptr);
      return 0;
    case WM_DESTROY:
      state->destroyed = true;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

MonitorWindow::MonitorWindow(const Rect& monitor, std::atomic<bool>& endSaver)
    : state_{&endSaver}, monitor_(monitor) {
  width_ = monitor.right > monitor.left ? monitor.right - monitor.left : 1;
  height_ = monitor.bottom > monitor.top ? monitor.bottom - monitor.top : 1;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MonitorProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  // Every monitor's window registers it; all but the first find it there.
  RegisterClassExW(&windowClass);
  const HWND window = CreateWindowExW(
      WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"drawing (another monitor)",
      WS_POPUP, monitor.left, monitor.top, width_, height_, nullptr, nullptr, instance, &state_);
  if (window == nullptr) {
    return;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
  window_ = FromNative(window);
}

// Closing the class fails while another monitor's window still uses it; the
// last one unregisters it.
MonitorWindow::~MonitorWindow() {
  Close(state_.destroyed, kClassName);
}

bool MonitorWindow::Pump() {
  // A WM_QUIT is the thread's, which the primary's program pumps; it stays
  // in the queue for that pump.
  DispatchWaiting(window_);
  // A monitor unplugged takes its drawing with it; the rest go on. Windows
  // tells of it with WM_DISPLAYCHANGE, wine not at all, so every frame
  // looks whether a monitor is still there.
  const RECT area{monitor_.left, monitor_.top, monitor_.right, monitor_.bottom};
  if (!unplugged_ && MonitorFromRect(&area, MONITOR_DEFAULTTONULL) == nullptr) {
    unplugged_ = true;
  }
  return !state_.destroyed && !unplugged_ && !state_.endSaver->load();
}

}  // namespace drawing::platform::win32
