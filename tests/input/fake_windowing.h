// A window system that only counts the cursor confinement calls the input
// subsystem makes; everything else answers like an idle desktop.
#pragma once

#include <vector>

#include "platform/windowing.h"

namespace drawing::input::testing {

class FakeWindowing final : public platform::Windowing {
 public:
  platform::Hinstance GetModuleHandle() override {
    return reinterpret_cast<platform::Hinstance>(&instanceTag_);
  }
  platform::Hicon LoadIcon(platform::Hinstance, int) override { return nullptr; }
  bool RegisterClassEx(const platform::WndClassEx&) override { return true; }
  platform::Hwnd CreateWindowEx(uint32_t, const char*, const char*, uint32_t, int, int, int, int,
                                platform::Hinstance) override {
    return nullptr;
  }
  bool SetWindowText(platform::Hwnd, const char*) override { return true; }
  bool MoveWindow(platform::Hwnd, int, int, int, int, bool) override { return true; }
  bool ShowWindow(platform::Hwnd, platform::ShowCommand) override { return true; }
  int ShowCursor(bool show) override { return show ? 0 : -1; }
  bool ClipCursor(const platform::Rect* rect) override {
    clipCalls.push_back(rect == nullptr);
    return true;
  }
  bool PeekMessage(platform::Msg*) override { return false; }
  bool TranslateMessage(const platform::Msg&) override { return false; }
  intptr_t DispatchMessage(const platform::Msg&) override { return 0; }
  intptr_t DefWindowProc(platform::Hwnd, uint32_t, uintptr_t, intptr_t) override { return 0; }
  void BeginPaint(platform::Hwnd) override {}
  void EndPaint(platform::Hwnd) override {}
  bool EnumDisplayMonitors(platform::MonitorEnumProc, void*) override { return false; }
  bool GetMonitorInfo(platform::Hmonitor, platform::MonitorInfo*) override { return false; }

  // One entry per ClipCursor call: true when it passed no rectangle.
  std::vector<bool> clipCalls;

 private:
  int instanceTag_ = 0;
};

}  // namespace drawing::input::testing
