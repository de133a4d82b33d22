#include "stop_signals.h"

#include <unistd.h>

#include <csignal>

namespace drawing::launch {
namespace {

// Process-wide because signal handlers are.
std::atomic<bool> stopRequested{false};
std::atomic<bool> signalled{false};
std::atomic<bool> endAtOnce{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestStop(int /*signal*/) {
  if (endAtOnce.load()) {
    _exit(0);  // the X server frees the connection's resources, the kernel the rest
  }
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

void EndAtOnceOnSignal(bool atOnce) {
  endAtOnce.store(atOnce);
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
