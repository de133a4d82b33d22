// USER32 on SDL: registered classes with their procedures, SDL windows as
// the program's windows, the cursor counter, and the message pump, which
// takes SDL's events, hands each to the event sinks (input devices, display
// host) and turns the window events into the messages the window procedure
// knows: activation, close and paint.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sdl/sdl_event_sink.h"
#include "platform/sdl/video_lease.h"
#include "platform/windowing.h"

namespace drawing::platform::sdl {

class SdlWindowing final : public Windowing {
 public:
  SdlWindowing();
  ~SdlWindowing() override;
  SdlWindowing(const SdlWindowing&) = delete;
  SdlWindowing& operator=(const SdlWindowing&) = delete;

  Hinstance GetModuleHandle() override;
  // There are no icon resources.
  Hicon LoadIcon(Hinstance instance, int resource) override;
  bool RegisterClassEx(const WndClassEx& windowClass) override;
  // A hidden, borderless SDL window; null when SDL's video cannot start or
  // the window cannot be made.
  Hwnd CreateWindowEx(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                      int x, int y, int width, int height, Hinstance instance) override;
  bool SetWindowText(Hwnd window, const char* text) override;
  bool MoveWindow(Hwnd window, int x, int y, int width, int height, bool repaint) override;
  // ShowMaximized: full screen in the display mode the window was given
  // (SDL_SetWindowDisplayMode), raised and given the focus. Hide: back to
  // the desktop's mode, hidden. Returns whether the window was visible.
  bool ShowWindow(Hwnd window, ShowCommand command) override;
  // The cursor shows while the counter is 0 or more; it starts at 0.
  int ShowCursor(bool show) override;
  bool ClipCursor(const Rect* rect) override;

  bool PeekMessage(Msg* msg) override;
  bool TranslateMessage(const Msg& msg) override;
  intptr_t DispatchMessage(const Msg& msg) override;
  intptr_t DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void BeginPaint(Hwnd window) override;
  void EndPaint(Hwnd window) override;

  // Receivers of every event the pump takes; they must outlive the pump.
  void AddEventSink(SdlEventSink* sink);
  // The SDL window behind a window handle; null for an unknown handle.
  SDL_Window* SdlWindow(Hwnd window) const;
  int CursorCounter() const { return cursorCounter_; }

 private:
  struct Window;

  Window* Find(Hwnd window) const;
  Window* FindSdl(uint32_t windowId) const;
  void Translate(const SDL_Event& event);

  VideoLease video_;
  std::map<std::string, WndClassEx> classes_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::vector<SdlEventSink*> sinks_;
  std::deque<Msg> pending_;
  int cursorCounter_ = 0;
  bool clipped_ = false;
  Rect clip_{};
};

}  // namespace drawing::platform::sdl
