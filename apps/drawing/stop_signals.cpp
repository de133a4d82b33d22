#include "stop_signals.h"

#include <csignal>

namespace drawing::launch {
namespace {

// Process-wide because signal handlers are.
std::atomic<bool> stopRequested{false};
std::atomic<bool> signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestStop(int /*signal*/) {
  signalled.store(true);
  stopRequested.store(true);
}

}  // namespace

std::atomic<bool>& StopRequest() {
  return stopRequested;
}

bool StopSignalled() {
  return signalled.load();
}

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace drawing::launch
