// Keeps presentation at the display's refresh rate when the renderer's
// vertical-retrace wait is missing or does not really wait (a virtual X
// server, a driver that ignores it): a present that comes back sooner than
// one period after the previous one sleeps until that period is over. A
// present that waited for the retrace itself arrives about one period after
// the previous one and is not delayed.
#pragma once

#include <cstdint>

namespace drawing::platform::soft {

class PaceClock {
 public:
  virtual uint64_t NowMicroseconds() = 0;
  virtual void SleepUntil(uint64_t microseconds) = 0;

 protected:
  ~PaceClock() = default;
};

// The steady clock of the C++ library.
class SteadyPaceClock final : public PaceClock {
 public:
  uint64_t NowMicroseconds() override;
  void SleepUntil(uint64_t microseconds) override;
};

class FramePacer {
 public:
  static constexpr uint32_t kDefaultRefreshRate = 60;

  explicit FramePacer(PaceClock& clock) : clock_(clock) {}

  // 0 Hz (unknown) counts as the default rate. Starts a new cadence.
  void SetRefreshRate(uint32_t hertz);
  uint64_t PeriodMicroseconds() const { return period_; }
  // Called right after each present.
  void FramePresented();

 private:
  PaceClock& clock_;
  uint64_t period_ = 1000000 / kDefaultRefreshRate;
  uint64_t last_ = 0;
  bool started_ = false;
};

}  // namespace drawing::platform::soft
