// A System that hands out thread-local slots and records what is stored in
// them, so tests can see the mirror of the current drawing context.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system.h"

namespace drawing::draw::testing {

class FakeSystem : public platform::System {
 public:
  uint32_t GetTickCount() override { return 0; }
  void Sleep(uint32_t /*milliseconds*/) override {}
  uint32_t GetCurrentThreadId() override { return 1; }
  uint32_t timeBeginPeriod(uint32_t /*milliseconds*/) override { return 0; }
  uint32_t timeEndPeriod(uint32_t /*milliseconds*/) override { return 0; }
  uint32_t TlsAlloc() override {
    ++tlsAllocations;
    return 7;
  }
  bool TlsSetValue(uint32_t index, void* value) override {
    stored.push_back({index, value});
    return true;
  }

  struct Store {
    uint32_t index;
    void* value;
  };
  int tlsAllocations = 0;
  std::vector<Store> stored;
};

}  // namespace drawing::draw::testing
