#include "platform/hosts/headless/headless_system.h"

namespace drawing::platform::headless {

HeadlessSystem::HeadlessSystem(SystemConfig config) : config_(config), now_(config.startTick) {}

void HeadlessSystem::Sleep(uint32_t milliseconds) {
  ++sleepCalls_;
  sleptMilliseconds_ += milliseconds;
  now_ += milliseconds;
}

uint32_t HeadlessSystem::timeBeginPeriod(uint32_t milliseconds) {
  ++beginCalls_;
  if (milliseconds == 0) {
    return kTimerNoCando;
  }
  ++openPeriods_[milliseconds];
  return 0;
}

uint32_t HeadlessSystem::timeEndPeriod(uint32_t milliseconds) {
  ++endCalls_;
  const auto found = openPeriods_.find(milliseconds);
  if (found == openPeriods_.end() || found->second == 0) {
    return kTimerNoCando;
  }
  --found->second;
  return 0;
}

int32_t HeadlessSystem::OpenTimePeriods() const {
  int32_t open = 0;
  for (const auto& [period, count] : openPeriods_) {
    open += count;
  }
  return open;
}

uint32_t HeadlessSystem::TlsAlloc() {
  if (config_.failTlsAlloc) {
    return kTlsOutOfIndexes;
  }
  tls_.push_back(nullptr);
  return static_cast<uint32_t>(tls_.size() - 1);
}

bool HeadlessSystem::TlsSetValue(uint32_t index, void* value) {
  if (index >= tls_.size()) {
    return false;
  }
  tls_[index] = value;
  return true;
}

void* HeadlessSystem::TlsGetValue(uint32_t index) const {
  return index < tls_.size() ? tls_[index] : nullptr;
}

}  // namespace drawing::platform::headless
