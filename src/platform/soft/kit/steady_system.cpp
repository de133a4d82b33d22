#include "platform/soft/kit/steady_system.h"

#include <chrono>
#include <functional>
#include <map>
#include <thread>
#include <utility>

namespace drawing::platform::soft {

namespace {

// Slots are told apart by the owning SteadySystem, so two of them (one per test)
// never see each other's values.
using SlotKey = std::pair<const SteadySystem*, uint32_t>;

std::map<SlotKey, void*>& ThreadSlots() {
  thread_local std::map<SlotKey, void*> slots;
  return slots;
}

}  // namespace

SteadySystem::~SteadySystem() {
  std::erase_if(ThreadSlots(), [this](const auto& slot) { return slot.first.first == this; });
}

uint32_t SteadySystem::GetTickCount() {
  // The steady clock's milliseconds cut to 32 bits wrap as GetTickCount does.
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SteadySystem::Sleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t SteadySystem::GetCurrentThreadId() {
  // The standard library's identity of the thread (pthread_t on POSIX),
  // folded to the 32 bits Windows thread identifiers have.
  const size_t id = std::hash<std::thread::id>{}(std::this_thread::get_id());
  return static_cast<uint32_t>(id ^ (static_cast<uint64_t>(id) >> 32));
}

uint32_t SteadySystem::timeBeginPeriod(uint32_t /*milliseconds*/) {
  return 0;
}

uint32_t SteadySystem::timeEndPeriod(uint32_t /*milliseconds*/) {
  return 0;
}

uint32_t SteadySystem::TlsAlloc() {
  if (nextSlot_ >= kTlsSlots) {
    return kTlsOutOfIndexes;
  }
  return nextSlot_++;
}

bool SteadySystem::TlsSetValue(uint32_t index, void* value) {
  if (index >= nextSlot_) {
    return false;
  }
  ThreadSlots()[{this, index}] = value;
  return true;
}

void* SteadySystem::TlsGetValue(uint32_t index) const {
  const auto& slots = ThreadSlots();
  const auto found = slots.find({this, index});
  return found == slots.end() ? nullptr : found->second;
}

}  // namespace drawing::platform::soft
