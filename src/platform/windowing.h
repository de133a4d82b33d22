// USER32: the screen window's class and procedure, showing and moving it,
// the cursor, the thread's message queue, and the desktop's monitors.
#pragma once

#include <cstdint>

#include "platform/handles.h"
#include "platform/port_result.h"

namespace drawing::platform {

enum class Wm : uint32_t {
  Activate = 0x0006,
  Paint = 0x000F,
  Close = 0x0010,
  Quit = 0x0012,
  EraseBkgnd = 0x0014,
  KeyDown = 0x0100,
  KeyUp = 0x0101,
  SysKeyDown = 0x0104,
  SysKeyUp = 0x0105,
  SysCommand = 0x0112,
  MouseMove = 0x0200,
  LButtonDown = 0x0201,
  LButtonUp = 0x0202,
  LButtonDblClk = 0x0203,
  RButtonDown = 0x0204,
  RButtonUp = 0x0205,
};

// Low word of WM_ACTIVATE's wParam.
enum class WindowActivation : uint32_t { Inactive = 0, Active = 1, ClickActive = 2 };

enum class ShowCommand : int32_t { Hide = 0, ShowNormal = 1, ShowMaximized = 3 };

enum class WindowStyle : uint32_t { Popup = 0x80000000u };

enum class ClassStyle : uint32_t { DblClks = 0x0008 };

struct Msg {
  Hwnd hwnd = nullptr;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

// The window procedure; `context` is the value registered with the class, so
// the procedure can reach its owner without a global.
using WindowProc = intptr_t (*)(void* context, Hwnd window, uint32_t message, uintptr_t wParam,
                                intptr_t lParam);

struct WndClassEx {
  uint32_t style = 0;
  WindowProc windowProc = nullptr;
  void* context = nullptr;
  Hinstance instance = nullptr;
  Hicon icon = nullptr;
  Hbrush background = nullptr;
  const char* className = nullptr;
};

// MONITORINFO. The rectangles are in desktop coordinates: the primary
// monitor's top left is 0,0, so monitors left of or above it have negative
// ones.
struct MonitorInfo {
  Rect rcMonitor;
  Rect rcWork;  // the monitor less the taskbar and docked bars
  uint32_t dwFlags = 0;
};
inline constexpr uint32_t kMonitorInfoPrimary = 0x1;  // MONITORINFOF_PRIMARY

// EnumDisplayMonitors' callback: false stops the enumeration.
using MonitorEnumProc = bool (*)(void* context, Hmonitor monitor, const Rect& rect);

class Windowing {
 public:
  virtual ~Windowing() = default;

  // GetModuleHandleA(NULL).
  DRAWING_NODISCARD virtual Hinstance GetModuleHandle() = 0;
  // LoadIconA(instance, MAKEINTRESOURCE(resource)); null when there is none.
  DRAWING_NODISCARD virtual Hicon LoadIcon(Hinstance instance, int resource) = 0;
  // RegisterClassExA; false on failure.
  DRAWING_NODISCARD virtual bool RegisterClassEx(const WndClassEx& windowClass) = 0;
  // CreateWindowExA with no parent, menu or creation data; null on failure.
  DRAWING_NODISCARD virtual Hwnd CreateWindowEx(uint32_t exStyle, const char* className,
                                                const char* title, uint32_t style, int x, int y,
                                                int width, int height, Hinstance instance) = 0;
  virtual bool SetWindowText(Hwnd window, const char* text) = 0;
  virtual bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) = 0;
  virtual bool ShowWindow(Hwnd window, ShowCommand command) = 0;
  // Returns the new display counter.
  virtual int ShowCursor(bool show) = 0;
  // Null lifts any confinement.
  virtual bool ClipCursor(const Rect* rect) = 0;

  // PeekMessageA(msg, NULL, 0, 0, PM_REMOVE).
  DRAWING_NODISCARD virtual bool PeekMessage(Msg* msg) = 0;
  virtual bool TranslateMessage(const Msg& msg) = 0;
  virtual intptr_t DispatchMessage(const Msg& msg) = 0;
  DRAWING_NODISCARD virtual intptr_t DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam,
                                                   intptr_t lParam) = 0;
  // BeginPaint/EndPaint around nothing: validates the window's update region.
  virtual void BeginPaint(Hwnd window) = 0;
  virtual void EndPaint(Hwnd window) = 0;

  // EnumDisplayMonitors(NULL, NULL, ...): every monitor of the desktop, in
  // the system's order (not always the primary first); false if it failed.
  DRAWING_NODISCARD virtual bool EnumDisplayMonitors(MonitorEnumProc proc, void* context) = 0;
  // GetMonitorInfoA; false for a monitor that is gone.
  DRAWING_NODISCARD virtual bool GetMonitorInfo(Hmonitor monitor, MonitorInfo* info) = 0;
};

}  // namespace drawing::platform
