// A one-line progress bar on standard error for long renders, drawn only
// when standard error is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace drawing::render {

class Progress {
 public:
  // Nothing is ever drawn unless `enabled`; a run is shown only once it has
  // taken longer than `delay`.
  Progress(std::ostream& out, uint32_t totalFrames, bool enabled,
           std::chrono::milliseconds delay = std::chrono::milliseconds(1000));
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Update(uint32_t frame);
  // Clears the bar's line, if one was drawn.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;

  void Draw(uint32_t frame, Clock::time_point now);

  std::ostream& out_;
  uint32_t total_;
  bool enabled_;
  std::chrono::milliseconds delay_;
  Clock::time_point start_;
  Clock::time_point lastDraw_{};
  bool drawn_ = false;
};

}  // namespace drawing::render
