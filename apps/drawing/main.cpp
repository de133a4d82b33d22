// drawing: the program on this machine's screen. On Linux and other SDL2
// systems that is the software device shown through an SDL2 window.
#include <atomic>
#include <csignal>

#include "app/application.h"
#include "platform/sdl/sdl_host.h"

namespace {

// A signal handler can reach nothing but a lock-free flag of its own; the
// application looks at it once per frame and then shuts down in order.
std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int /*signal*/) {
  stopRequested.store(true);
}

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main() {
  static_assert(std::atomic<bool>::is_always_lock_free);
  InstallStopHandlers();
  drawing::platform::sdl::SdlHost host;
  drawing::app::ApplicationOptions options;
  options.stopRequest = &stopRequested;
  drawing::app::Application application(host.GetPlatform(), options);
  return application.Run();
}
