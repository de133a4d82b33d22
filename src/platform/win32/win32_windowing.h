// USER32 windowing: the window class with our window procedure, the window,
// the cursor and the thread's message queue.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/windowing.h"

namespace drawing::platform::win32 {

// What a registered class hands to USER32's window procedure: the platform
// procedure and the context it was registered with. The window finds it
// through its creation data and keeps it in its user data.
struct ClassBinding {
  WindowProc procedure = nullptr;
  void* context = nullptr;
};

class Win32Windowing final : public Windowing {
 public:
  Win32Windowing() = default;
  // Destroys the windows created here, after detaching them from their
  // procedures, whose owners may already be gone; then unregisters the classes.
  ~Win32Windowing() override;
  Win32Windowing(const Win32Windowing&) = delete;
  Win32Windowing& operator=(const Win32Windowing&) = delete;

  Hinstance GetModuleHandle() override;
  Hicon LoadIcon(Hinstance instance, int resource) override;
  bool RegisterClassEx(const WndClassEx& windowClass) override;
  Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                      int x, int y, int width, int height, Hinstance instance) override;
  bool SetWindowText(Hwnd window, const char* text) override;
  bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) override;
  bool ShowWindow(Hwnd window, ShowCommand command) override;
  int ShowCursor(bool show) override;
  bool ClipCursor(const Rect* rect) override;
  bool PeekMessage(Msg* msg) override;
  bool TranslateMessage(const Msg& msg) override;
  intptr_t DispatchMessage(const Msg& msg) override;
  intptr_t DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void BeginPaint(Hwnd window) override;
  void EndPaint(Hwnd window) override;
  bool EnumDisplayMonitors(MonitorEnumProc proc, void* context) override;
  bool GetMonitorInfo(Hmonitor monitor, MonitorInfo* info) override;

 private:
  struct RegisteredClass {
    ClassBinding binding;
    Hinstance instance = nullptr;
  };
  // Keyed by class name; map nodes keep their address, which the windows hold.
  std::map<std::string, RegisteredClass> classes_;
  std::vector<Hwnd> windows_;
  // The paint record between BeginPaint and EndPaint (a PAINTSTRUCT's bytes).
  alignas(8) unsigned char paint_[80] = {};
};

}  // namespace drawing::platform::win32
