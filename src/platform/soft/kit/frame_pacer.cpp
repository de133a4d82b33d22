#include "platform/soft/kit/frame_pacer.h"

#include <chrono>
#include <thread>

namespace drawing::platform::soft {

uint64_t SteadyPaceClock::NowMicroseconds() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

void SteadyPaceClock::SleepUntil(uint64_t microseconds) {
  const uint64_t now = NowMicroseconds();
  if (microseconds > now) {
    std::this_thread::sleep_for(std::chrono::microseconds(microseconds - now));
  }
}

void FramePacer::SetRefreshRate(uint32_t hertz) {
  period_ = 1000000u / (hertz != 0 ? hertz : kDefaultRefreshRate);
  started_ = false;
}

void FramePacer::FramePresented() {
  const uint64_t now = clock_.NowMicroseconds();
  if (!started_) {
    started_ = true;
    last_ = now;
    return;
  }
  const uint64_t due = last_ + period_;
  // A present that waited for a real retrace may come back a little early
  // by this clock; it must not be held back a whole extra period.
  const uint64_t tolerance = period_ / 8;
  if (now + tolerance >= due) {
    last_ = now;
    return;
  }
  clock_.SleepUntil(due);
  // Keep the cadence unless the sleep overran by a whole period.
  const uint64_t woke = clock_.NowMicroseconds();
  last_ = woke > due && woke - due >= period_ ? woke : due;
}

}  // namespace drawing::platform::soft
