// One user's share of SDL's video subsystem (which brings the events with
// it). SDL counts the users itself; a lease only makes sure each user starts
// and stops it at most once.
#pragma once

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

 private:
  bool held_ = false;
};

}  // namespace drawing::platform::sdl
