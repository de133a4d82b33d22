#include "platform/hosts/sdl/video_lease.h"

#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

namespace drawing::platform::sdl {
namespace {

// SDL falls back to drivers that show nothing when no display answers; a
// screen nobody can see is only what the user asked for by naming the
// driver (SDL_VIDEODRIVER, or the hint a test sets).
bool ShowsNothingUnasked() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) {
    return true;
  }
  const std::string_view current = driver;
  if (current != "offscreen" && current != "dummy") {
    return false;
  }
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return asked == nullptr || std::string_view(asked).find(current) == std::string_view::npos;
}

// An X server that takes the connection but never answers (stopped, or
// hung) holds SDL's start-up for ever, deaf to SIGTERM. Past the limit the
// program says so and ends; nothing has been drawn or written yet.
class StartUpWatch {
 public:
  StartUpWatch()
      : watcher_([this] {
          std::unique_lock lock(mutex_);
          if (!ended_.wait_for(lock, kLimit, [this] { return done_; })) {
            constexpr std::string_view kLine =
                "drawing: cannot open the screen: the display does not answer\n";
            [[maybe_unused]] const ssize_t written =
                write(STDERR_FILENO, kLine.data(), kLine.size());
            _exit(1);
          }
        }) {}
  ~StartUpWatch() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
  }
  StartUpWatch(const StartUpWatch&) = delete;
  StartUpWatch& operator=(const StartUpWatch&) = delete;

 private:
  static constexpr std::chrono::seconds kLimit{2};
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread watcher_;  // last: starts once the rest is ready
};

}  // namespace

bool VideoLease::Take() {
  if (!held_) {
    {
      const StartUpWatch watch;
      held_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (held_ && ShowsNothingUnasked()) {
      Return();
    }
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
