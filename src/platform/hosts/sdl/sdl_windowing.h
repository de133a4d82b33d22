// USER32 on SDL: the software window system with each window shown as an
// SDL window. The message pump takes SDL's events, hands each to the event
// sinks (input devices, display host) and turns the window events into the
// messages the window procedure knows: activation, close and paint.
//
// Does: a hidden borderless SDL window per window, full screen in its
// display mode when shown maximised, SDL's cursor visibility and mouse
// confinement. Does not: activate on ShowWindow (the focus arrives from the
// desktop as an event), icons, or any fault injection.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/hosts/sdl/sdl_event_sink.h"
#include "platform/hosts/sdl/video_lease.h"
#include "platform/soft/windowing/soft_windowing.h"

namespace drawing::platform::sdl {

class SdlWindowing final : private soft::WindowHost, public soft::SoftWindowing {
 public:
  SdlWindowing();
  ~SdlWindowing() override;

  // Receivers of every event the pump takes; they must outlive the pump.
  void AddEventSink(SdlEventSink* sink);
  // The SDL window behind a window handle; null for an unknown handle.
  SDL_Window* SdlWindow(Hwnd window) const;
  // Why the last window could not be made (no display, or SDL's reason).
  const std::string& Failure() const { return failure_; }

 private:
  struct Native {
    Hwnd window;
    SDL_Window* sdl;
  };

  // A hidden, borderless SDL window; refused when SDL's video cannot start
  // or the window cannot be made.
  bool OpenWindow(Hwnd window, const soft::SoftWindow& record) override;
  void TitleChanged(Hwnd window, const soft::SoftWindow& record) override;
  void Moved(Hwnd window, const soft::SoftWindow& record) override;
  // ShowMaximized: full screen in the display mode the window was given
  // (SDL_SetWindowDisplayMode), raised and given the focus. Hide: back to
  // the desktop's mode, hidden.
  void Shown(Hwnd window, const soft::SoftWindow& record, ShowCommand command) override;
  void CursorShown(bool shown) override;
  void CursorClipped(const Rect* rect) override;
  bool Poll() override;

  Hwnd FindSdl(uint32_t windowId) const;
  void Translate(const SDL_Event& event);

  VideoLease video_;
  std::vector<Native> natives_;
  std::string failure_;
  std::vector<SdlEventSink*> sinks_;
};

}  // namespace drawing::platform::sdl
