// DirectInput on SDL: the software keyboard and mouse devices fed with SDL's
// events. The message pump hands every SDL event to this module; key events
// become DirectInput key codes held or let go, mouse motion, buttons and the
// wheel become mouse records, and the window's focus events decide whether
// foreground devices may be acquired.
//
// Does: relative mouse mode while the mouse is acquired; forgets held keys
// and buttons when the focus goes (their releases happen elsewhere). Does
// not: key repeats, text input, or any fault injection. The window starts
// without the focus until SDL reports it.
#pragma once

#include "platform/hosts/sdl/sdl_event_sink.h"
#include "platform/hosts/sdl/video_lease.h"
#include "platform/soft/input/soft_input.h"

namespace drawing::platform::sdl {

class SdlInput final : private soft::InputHost, public soft::SoftInput, public SdlEventSink {
 public:
  SdlInput();

  void OnSdlEvent(const SDL_Event& event) override;

 private:
  // Fails when SDL's video and events cannot be started.
  bool OpenInput() override;
  void CloseInput() override;
  void MouseAcquired(bool acquired) override;

  void OnFocus(bool focused);
  void OnKey(const SDL_KeyboardEvent& key);
  void OnButton(const SDL_MouseButtonEvent& button);

  VideoLease video_;
};

}  // namespace drawing::platform::sdl
