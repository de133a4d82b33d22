#include "progress.h"

#include <cstdio>
#include <string>

namespace drawing::render {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
constexpr auto kLineInterval = std::chrono::seconds(5);

std::string Duration(std::chrono::seconds seconds) {
  const auto total = seconds.count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(total / 60),
                static_cast<long long>(total % 60));
  return text;
}

}  // namespace

Progress::Progress(std::ostream& out, uint32_t totalFrames, ProgressStyle style,
                   std::chrono::milliseconds delay)
    : out_(out),
      total_(totalFrames),
      style_(totalFrames > 0 ? style : ProgressStyle::None),
      delay_(delay),
      start_(Clock::now()) {}

Progress::~Progress() {
  Finish();
}

void Progress::Update(uint32_t frame) {
  if (style_ == ProgressStyle::None) {
    return;
  }
  const Clock::time_point now = Clock::now();
  const auto interval = style_ == ProgressStyle::Bar
                            ? std::chrono::duration_cast<Clock::duration>(kRedrawInterval)
                            : std::chrono::duration_cast<Clock::duration>(kLineInterval);
  if (now - start_ < delay_ || (drawn_ && now - lastDraw_ < interval)) {
    return;
  }
  Draw(frame, now);
}

void Progress::Draw(uint32_t frame, Clock::time_point now) {
  const double done = static_cast<double>(frame) / total_;
  const int filled = static_cast<int>(done * kBarWidth);
  const auto elapsed = std::chrono::duration<double>(now - start_).count();
  // Before the first frame is done there is nothing to measure the rest by.
  const std::string left = frame > 0 ? Duration(std::chrono::seconds(static_cast<long long>(
                                           elapsed * (total_ - frame) / frame))) +
                                           " left"
                                     : "time left not known yet";
  if (style_ == ProgressStyle::Lines) {
    out_ << "drawing-render: frame " << frame << " of " << total_ << ", " << left << "\n"
         << std::flush;
    lastDraw_ = now;
    drawn_ = true;
    return;
  }
  std::string line = "\r[" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] " +
                     std::to_string(frame) + "/" + std::to_string(total_) + " frames, " + left +
                     " ";
  out_ << line << std::flush;
  lastDraw_ = now;
  drawn_ = true;
}

void Progress::Finish(const std::string& next) {
  if (drawn_ && style_ == ProgressStyle::Bar) {
    out_ << "\r\033[K" << std::flush;
  }
  // A run long enough to be shown may take a while to write, too.
  if (drawn_ && !next.empty()) {
    out_ << "drawing-render: " << next << '\n' << std::flush;
  }
  drawn_ = false;
  style_ = ProgressStyle::None;
}

}  // namespace drawing::render
