#include "platform/hosts/sdl/video_lease.h"

#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
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

constexpr int kStartAttempts = 10;
constexpr std::chrono::milliseconds kStartRetryPause{150};

const char* Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Whether the user chose SDL's video driver; otherwise the program chooses
// X11 where there is no Wayland display, so a missing or silent X display is
// not followed by SDL's attempts elsewhere and their lines on stderr.
bool DriverChosen() {
  return Environment("SDL_VIDEODRIVER") != nullptr || SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr;
}

// The display's name for a line on a terminal: printable ASCII, cut short.
std::string ShownName(std::string_view name) {
  constexpr size_t kShown = 64;
  std::string shown;
  for (const char c : name.substr(0, kShown)) {
    shown += c >= ' ' && c <= '~' ? c : '?';
  }
  return name.size() > kShown ? shown + "..." : shown;
}

// An X server that takes the connection but never answers (stopped, or
// hung) holds SDL's start-up for ever, deaf to SIGTERM. Past the limit the
// program says so and ends; nothing has been drawn or written yet.
class StartUpWatch {
 public:
  explicit StartUpWatch(std::string line)
      : line_(std::move(line)), watcher_([this] {
          std::unique_lock lock(mutex_);
          if (!ended_.wait_for(lock, kLimit, [this] { return done_; })) {
            [[maybe_unused]] const ssize_t written =
                write(STDERR_FILENO, line_.data(), line_.size());
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
  std::string line_;
  std::thread watcher_;  // last: starts once the rest is ready
};

}  // namespace

bool VideoLease::Take() {
  if (held_) {
    return true;
  }
  const char* display = Environment("DISPLAY");
  const bool chosen = DriverChosen();
  const bool wayland = Environment("WAYLAND_DISPLAY") != nullptr;
  if (display == nullptr && !wayland && !chosen) {
    failure_ = "no X display (DISPLAY is not set)";
    return false;
  }
  if (display != nullptr && !wayland && !chosen) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  }
  const std::string silent = display != nullptr
                                 ? "the X display '" + std::string(display) + "' does not answer"
                                 : std::string("the display does not answer");
  const std::string shown =
      display != nullptr ? "the X display '" + ShownName(display) + "' does not answer" : silent;
  // An X server resets when its last client leaves (a program started again
  // at once after another ended), refusing connections for a moment: a
  // refused start is tried again for a little while.
  for (int attempt = 0; !held_ && attempt < kStartAttempts; ++attempt) {
    if (attempt > 0) {
      std::this_thread::sleep_for(kStartRetryPause);
    }
    const StartUpWatch watch("drawing: cannot open the screen: " + shown + "\n");
    held_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (display == nullptr) {
      break;  // no X server to wait for
    }
  }
  if (held_ && ShowsNothingUnasked()) {
    Return();
  }
  if (!held_) {
    // SDL's own words where they say more than that nothing started.
    const std::string reason = SDL_GetError();
    const bool telling = !reason.empty() && reason.find("not available") == std::string::npos &&
                         reason != "No available video device";
    failure_ = telling ? silent + " (SDL: " + reason + ")" : silent;
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
