// USER32 in software, the same under every host: window classes with their
// procedures, window records (title, placement, visibility) tests can read,
// the thread's message queue and its dispatch, activation, and the cursor's
// display counter and confinement. What a window looks like and where focus
// changes come from is the WindowHost's.
//
// Activation follows Windows: when the host says showing activates, showing
// a window maximised or normal activates it and sends WM_ACTIVATE at once
// (before ShowWindow returns), and hiding the active window deactivates it
// the same way. Activation changes from outside (another program taking the
// focus) are posted, and reach the procedure through the message pump.
//
// Nothing grows while a program runs: the messages delivered are kept by
// no one but the EmulationObserver a test may attach.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/soft/windowing/window_host.h"
#include "platform/windowing.h"

namespace drawing::platform::soft {

class EmulationObserver;

// The calls an EmulationObserver is told of, besides the messages.
enum class WindowCallKind : uint8_t { TranslateMessage, BeginPaint, EndPaint, ClipCursor };

struct SoftWindow {
  std::string className;
  std::string title;
  uint32_t exStyle = 0;
  uint32_t style = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool visible = false;
  bool maximized = false;
};

class SoftWindowing : public Windowing {
 public:
  explicit SoftWindowing(WindowHost& host);
  ~SoftWindowing() override;
  SoftWindowing(const SoftWindowing&) = delete;
  SoftWindowing& operator=(const SoftWindowing&) = delete;

  Hinstance GetModuleHandle() override;
  // The host's icon resources, for this module only.
  Hicon LoadIcon(Hinstance instance, int resource) override;
  // Fails for a missing name or procedure and for a name already registered.
  bool RegisterClassEx(const WndClassEx& windowClass) override;
  // Null for an unknown class or when the host cannot make the window.
  Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                      int x, int y, int width, int height, Hinstance instance) override;
  bool SetWindowText(Hwnd window, const char* text) override;
  bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) override;
  // True when the window was visible before.
  bool ShowWindow(Hwnd window, ShowCommand command) override;
  // The cursor shows while the counter is 0 or more; it starts at 0.
  int ShowCursor(bool show) override;
  bool ClipCursor(const Rect* rect) override;
  // Takes the host's waiting events until a message is queued.
  bool PeekMessage(Msg* msg) override;
  bool TranslateMessage(const Msg& msg) override;
  // Calls the procedure of the message's window with its class context;
  // messages for no window or an unknown one return 0.
  intptr_t DispatchMessage(const Msg& msg) override;
  intptr_t DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void BeginPaint(Hwnd window) override;
  void EndPaint(Hwnd window) override;
  bool EnumDisplayMonitors(MonitorEnumProc proc, void* context) override;
  bool GetMonitorInfo(Hmonitor monitor, MonitorInfo* info) override;

  // Queue side, for hosts, tests and scripts.
  void PostMessage(Hwnd window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Another program takes the focus (false) or gives it back (true): posts
  // WM_ACTIVATE to `window` (null: the window that was active last, or the
  // first window when none was), even when it already is in that state.
  void PostActivation(bool active, Hwnd window = nullptr);
  // The desktop's monitors, in the order EnumDisplayMonitors visits them;
  // until a host or test says otherwise, one primary 1024x768 monitor.
  // Handles of monitors no longer listed are answered as gone.
  void SetMonitors(std::vector<MonitorInfo> monitors) { monitors_ = std::move(monitors); }
  // Told when ShowWindow activates or deactivates a window.
  void SetActivationListener(std::function<void(bool active)> listener);

  // Inspection.
  const SoftWindow* Window(Hwnd window) const;
  std::vector<Hwnd> Windows() const;
  Hwnd ActiveWindow() const { return active_; }
  int CursorCounter() const { return cursorCounter_; }
  // The confinement rectangle; empty when the cursor is free.
  const std::optional<Rect>& CursorClip() const { return cursorClip_; }
  size_t QueuedMessages() const { return queue_.size(); }
  // Told of every message handed to a window procedure, every DefWindowProc
  // call and each call of a WindowCallKind from now on; null for none.
  void SetObserver(EmulationObserver* observer) { observer_ = observer; }

 private:
  struct WindowClass {
    std::string name;
    WndClassEx registration;
  };
  struct WindowRecord {
    SoftWindow window;
    const WindowClass* windowClass = nullptr;
  };

  WindowRecord* Find(Hwnd window) const;
  intptr_t Deliver(const Msg& msg);
  void Activate(Hwnd window);
  void Deactivate(Hwnd window);
  void Report(WindowCallKind call);

  WindowHost& host_;
  char moduleTag_ = 0;
  char iconTag_ = 0;
  std::vector<std::unique_ptr<WindowClass>> classes_;
  std::vector<std::unique_ptr<WindowRecord>> windows_;
  Hwnd active_ = nullptr;
  Hwnd lastActive_ = nullptr;
  std::function<void(bool)> activationListener_;
  int cursorCounter_ = 0;
  std::optional<Rect> cursorClip_;
  std::deque<Msg> queue_;
  std::vector<MonitorInfo> monitors_{
      MonitorInfo{Rect{0, 0, 1024, 768}, Rect{0, 0, 1024, 768}, kMonitorInfoPrimary}};
  EmulationObserver* observer_ = nullptr;
};

}  // namespace drawing::platform::soft
