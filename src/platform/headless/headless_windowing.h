// USER32 of the headless host: window classes with their procedures,
// windows whose title, placement and visibility tests can read, the cursor's
// display counter and confinement, and the thread's message queue.
//
// Activation follows Windows: showing a window maximised or normal
// activates it and sends WM_ACTIVATE at once (before ShowWindow returns);
// hiding the active window deactivates it the same way. Activation changes
// from outside (another program taking the focus) are posted, as scripts
// ask for them, and reach the procedure through the message pump.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/windowing.h"

namespace drawing::platform::headless {

struct WindowingConfig {
  bool failRegisterClass = false;
  bool failCreateWindow = false;
  // Whether the program's module has icon resource 1.
  bool iconAvailable = false;
};

struct HeadlessWindow {
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
  uint32_t moveCalls = 0;
};

class HeadlessWindowing final : public Windowing {
 public:
  explicit HeadlessWindowing(WindowingConfig config = {});
  ~HeadlessWindowing() override;
  HeadlessWindowing(const HeadlessWindowing&) = delete;
  HeadlessWindowing& operator=(const HeadlessWindowing&) = delete;

  Hinstance GetModuleHandle() override;
  Hicon LoadIcon(Hinstance instance, int resource) override;
  // Fails for a missing name or procedure and for a name already registered.
  bool RegisterClassEx(const WndClassEx& windowClass) override;
  Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                      int x, int y, int width, int height, Hinstance instance) override;
  bool SetWindowText(Hwnd window, const char* text) override;
  bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) override;
  // True when the window was visible before.
  bool ShowWindow(Hwnd window, ShowCommand command) override;
  int ShowCursor(bool show) override;
  bool ClipCursor(const Rect* rect) override;
  bool PeekMessage(Msg* msg) override;
  bool TranslateMessage(const Msg& msg) override;
  // Calls the procedure of the message's window with its class context;
  // messages for no window or an unknown one return 0.
  intptr_t DispatchMessage(const Msg& msg) override;
  intptr_t DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void BeginPaint(Hwnd window) override;
  void EndPaint(Hwnd window) override;

  // Queue side, for tests and scripts.
  void PostMessage(Hwnd window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
  // Another program takes the focus (false) or gives it back (true): posts
  // WM_ACTIVATE to the window that was active last (the first window when
  // none was), even when it already is in that state.
  void PostActivation(bool active);
  // Told when ShowWindow activates or deactivates a window.
  void SetActivationListener(std::function<void(bool active)> listener);

  // Inspection.
  const HeadlessWindow* Window(Hwnd window) const;
  std::vector<Hwnd> Windows() const;
  Hwnd ActiveWindow() const { return active_; }
  int CursorCounter() const { return cursorCounter_; }
  // The confinement rectangle; empty when the cursor is free.
  const std::optional<Rect>& CursorClip() const { return cursorClip_; }
  uint32_t ClipCursorCalls() const { return clipCursorCalls_; }
  size_t QueuedMessages() const { return queue_.size(); }
  // Every message handed to a window procedure, dispatched or sent, in order.
  const std::vector<Msg>& DeliveredMessages() const { return delivered_; }
  const std::vector<Msg>& DefWindowProcMessages() const { return defaulted_; }
  uint32_t TranslateCalls() const { return translateCalls_; }
  uint32_t BeginPaintCalls() const { return beginPaintCalls_; }
  uint32_t EndPaintCalls() const { return endPaintCalls_; }

 private:
  struct WindowClass {
    std::string name;
    WndClassEx registration;
  };
  struct WindowRecord {
    HeadlessWindow window;
    const WindowClass* windowClass = nullptr;
  };

  WindowRecord* Find(Hwnd window) const;
  intptr_t Deliver(const Msg& msg);
  void Activate(Hwnd window);
  void Deactivate(Hwnd window);

  WindowingConfig config_;
  char moduleTag_ = 0;
  char iconTag_ = 0;
  std::vector<std::unique_ptr<WindowClass>> classes_;
  std::vector<std::unique_ptr<WindowRecord>> windows_;
  Hwnd active_ = nullptr;
  Hwnd lastActive_ = nullptr;
  std::function<void(bool)> activationListener_;
  int cursorCounter_ = 0;
  std::optional<Rect> cursorClip_;
  uint32_t clipCursorCalls_ = 0;
  std::deque<Msg> queue_;
  std::vector<Msg> delivered_;
  std::vector<Msg> defaulted_;
  uint32_t translateCalls_ = 0;
  uint32_t beginPaintCalls_ = 0;
  uint32_t endPaintCalls_ = 0;
};

}  // namespace drawing::platform::headless
