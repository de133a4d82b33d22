// One user's share of SDL's video subsystem (which brings the events with
// it). SDL counts the users itself; a lease only makes sure each user starts
// and stops it at most once.
#pragma once

#include <string>

namespace drawing::platform::sdl {

class VideoLease {
 public:
  VideoLease() = default;
  ~VideoLease() { Return(); }
  VideoLease(const VideoLease&) = delete;
  VideoLease& operator=(const VideoLease&) = delete;

  // False when there is no usable video driver (no display, no X server);
  // SDL's offscreen and dummy drivers count only when the user named them.
  bool Take();
  void Return();
  bool Held() const { return held_; }
  // Why the last Take failed, naming the display ("no X display (DISPLAY is
  // not set)", "the X display ':0' does not answer"); the value of DISPLAY
  // is as the environment has it, for the caller to show safely.
  const std::string& Failure() const { return failure_; }

 private:
  bool held_ = false;
  std::string failure_;
};

}  // namespace drawing::platform::sdl
