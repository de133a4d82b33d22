#include "platform/hosts/sdl/sdl_host.h"

#include <SDL.h>

namespace drawing::platform::sdl {

SdlSession::SdlSession() {
  // The program ends on SIGINT/SIGTERM through its own orderly shutdown;
  // SDL's handlers would only turn them into a close request, which the
  // screen window ignores.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The keyboard is read as keys, never as text.
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "0");
}

SdlSession::~SdlSession() {
  SDL_Quit();
}

SdlHost::SdlHost()
    : windowing_(),
      display_(windowing_, clock_),
      device_(display_, gdi_),
      direct3d_(display_, device_) {
  windowing_.AddEventSink(&input_);
  windowing_.AddEventSink(&display_);
}

platform::Platform SdlHost::GetPlatform() {
  return platform::Platform{system_, windowing_, direct3d_, gdi_, input_, files_};
}

std::string SdlHost::ScreenFailure() const {
  return windowing_.Failure().empty() ? display_.Failure() : windowing_.Failure();
}

}  // namespace drawing::platform::sdl
