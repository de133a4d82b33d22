#include "platform/sdl/video_lease.h"

#include <SDL.h>

namespace drawing::platform::sdl {

bool VideoLease::Take() {
  if (!held_) {
    held_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }
  return held_;
}

void VideoLease::Return() {
  if (held_) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    held_ = false;
  }
}

}  // namespace drawing::platform::sdl
