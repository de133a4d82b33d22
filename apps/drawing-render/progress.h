// Progress of a long render on standard error: a bar redrawn in place on a
// terminal, or (asked for with --progress) a line every few seconds where
// standard error is a file or a pipe.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace drawing::render {

enum class ProgressStyle : uint8_t { None, Bar, Lines };

class Progress {
 public:
  // Nothing is ever shown with ProgressStyle::None; a run is shown only once
  // it has taken longer than `delay`.
  Progress(std::ostream& out, uint32_t totalFrames, ProgressStyle style,
           std::chrono::milliseconds delay = std::chrono::milliseconds(1000));
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Update(uint32_t frame);
  // Clears the bar's line, if one was drawn; then, if progress was shown,
  // says `next` (what the program does now) on a line of its own.
  void Finish(const std::string& next = {});

 private:
  using Clock = std::chrono::steady_clock;

  void Draw(uint32_t frame, Clock::time_point now);

  std::ostream& out_;
  uint32_t total_;
  ProgressStyle style_;
  std::chrono::milliseconds delay_;
  Clock::time_point start_;
  Clock::time_point lastDraw_{};
  bool drawn_ = false;
};

}  // namespace drawing::render
