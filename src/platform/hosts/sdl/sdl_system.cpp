#include "platform/hosts/sdl/sdl_system.h"

#include <SDL.h>

#include <map>
#include <utility>

namespace drawing::platform::sdl {

namespace {

// Slots are told apart by the owning SdlSystem, so two of them (one per test)
// never see each other's values.
using SlotKey = std::pair<const SdlSystem*, uint32_t>;

std::map<SlotKey, void*>& ThreadSlots() {
  thread_local std::map<SlotKey, void*> slots;
  return slots;
}

}  // namespace

SdlSystem::~SdlSystem() {
  std::erase_if(ThreadSlots(), [this](const auto& slot) { return slot.first.first == this; });
}

uint32_t SdlSystem::GetTickCount() {
  // The 64-bit clock cut to 32 bits wraps exactly as GetTickCount does.
  return static_cast<uint32_t>(SDL_GetTicks64());
}

void SdlSystem::Sleep(uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

uint32_t SdlSystem::GetCurrentThreadId() {
  return static_cast<uint32_t>(SDL_ThreadID());
}

uint32_t SdlSystem::timeBeginPeriod(uint32_t /*milliseconds*/) {
  return 0;
}

uint32_t SdlSystem::timeEndPeriod(uint32_t /*milliseconds*/) {
  return 0;
}

uint32_t SdlSystem::TlsAlloc() {
  if (nextSlot_ >= kTlsSlots) {
    return kTlsOutOfIndexes;
  }
  return nextSlot_++;
}

bool SdlSystem::TlsSetValue(uint32_t index, void* value) {
  if (index >= nextSlot_) {
    return false;
  }
  ThreadSlots()[{this, index}] = value;
  return true;
}

void* SdlSystem::TlsGetValue(uint32_t index) const {
  const auto& slots = ThreadSlots();
  const auto found = slots.find({this, index});
  return found == slots.end() ? nullptr : found->second;
}

}  // namespace drawing::platform::sdl
