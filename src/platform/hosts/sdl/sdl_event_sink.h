// Whoever needs SDL's events besides the window procedure (the input devices,
// the display host) receives every event the message pump takes off SDL's
// queue, before the pump turns it into a window message.
#pragma once

#include <SDL.h>

namespace drawing::platform::sdl {

class SdlEventSink {
 public:
  virtual void OnSdlEvent(const SDL_Event& event) = 0;

 protected:
  ~SdlEventSink() = default;
};

}  // namespace drawing::platform::sdl
