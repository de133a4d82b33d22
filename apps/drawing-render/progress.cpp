#include "progress.h"

#include <cstdio>
#include <string>

namespace drawing::render {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

std::string Duration(std::chrono::seconds seconds) {
  const auto total = seconds.count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(total / 60),
                static_cast<long long>(total % 60));
  return text;
}

}  // namespace

Progress::Progress(std::ostream& out, uint32_t totalFrames, bool enabled,
                   std::chrono::milliseconds delay)
    : out_(out),
      total_(totalFrames),
      enabled_(enabled && totalFrames > 0),
      delay_(delay),
      start_(Clock::now()) {}

Progress::~Progress() {
  Finish();
}

void Progress::Update(uint32_t frame) {
  if (!enabled_) {
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now - start_ < delay_ || (drawn_ && now - lastDraw_ < kRedrawInterval)) {
    return;
  }
  Draw(frame, now);
}

void Progress::Draw(uint32_t frame, Clock::time_point now) {
  const double done = static_cast<double>(frame) / total_;
  const int filled = static_cast<int>(done * kBarWidth);
  const auto elapsed = std::chrono::duration<double>(now - start_).count();
  const auto remaining = frame > 0 ? elapsed * (total_ - frame) / frame : 0.0;
  std::string line = "\r[" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] " +
                     std::to_string(frame) + "/" + std::to_string(total_) + " frames, " +
                     Duration(std::chrono::seconds(static_cast<long long>(remaining))) + " left ";
  out_ << line << std::flush;
  lastDraw_ = now;
  drawn_ = true;
}

void Progress::Finish() {
  if (drawn_) {
    out_ << "\r\033[K" << std::flush;
    drawn_ = false;
  }
  enabled_ = false;
}

}  // namespace drawing::render
