// KERNEL32 and WinMM of the headless host: a fake clock that moves only when
// the program sleeps or a frame is presented, a fixed thread identifier,
// counted timer-period requests and thread-local slots.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/system.h"

namespace drawing::platform::headless {

struct SystemConfig {
  uint32_t startTick = 0;
  uint32_t threadId = 1;
  bool failTlsAlloc = false;
};

class HeadlessSystem final : public System {
 public:
  // WinMM's TIMERR_NOCANDO.
  static constexpr uint32_t kTimerNoCando = 97;
  static constexpr uint32_t kTlsOutOfIndexes = 0xFFFFFFFFu;

  explicit HeadlessSystem(SystemConfig config = {});

  uint32_t GetTickCount() override { return now_; }
  // Returns at once, with the clock `milliseconds` later.
  void Sleep(uint32_t milliseconds) override;
  uint32_t GetCurrentThreadId() override { return config_.threadId; }
  // A period of 0 is refused; an end without a matching begin is refused.
  uint32_t timeBeginPeriod(uint32_t milliseconds) override;
  uint32_t timeEndPeriod(uint32_t milliseconds) override;
  uint32_t TlsAlloc() override;
  bool TlsSetValue(uint32_t index, void* value) override;

  // The clock, as the host moves it (presentation) and tests read it.
  uint32_t Now() const { return now_; }
  void Advance(uint32_t milliseconds) { now_ += milliseconds; }

  uint32_t SleepCalls() const { return sleepCalls_; }
  uint64_t SleptMilliseconds() const { return sleptMilliseconds_; }
  uint32_t TimeBeginPeriodCalls() const { return beginCalls_; }
  uint32_t TimeEndPeriodCalls() const { return endCalls_; }
  // Periods begun and not yet ended, over all resolutions.
  int32_t OpenTimePeriods() const;
  void* TlsGetValue(uint32_t index) const;
  uint32_t TlsSlots() const { return static_cast<uint32_t>(tls_.size()); }
  void FailTlsAlloc(bool fail) { config_.failTlsAlloc = fail; }

 private:
  SystemConfig config_;
  uint32_t now_;
  uint32_t sleepCalls_ = 0;
  uint64_t sleptMilliseconds_ = 0;
  uint32_t beginCalls_ = 0;
  uint32_t endCalls_ = 0;
  std::map<uint32_t, int32_t> openPeriods_;
  std::vector<void*> tls_;
};

}  // namespace drawing::platform::headless
