// drawing: the program on this machine's screen. On Windows that is the real
// Direct3D 9, GDI and DirectInput; on Linux and other SDL2 systems it is the
// software device shown through an SDL2 window.
#include <atomic>

#include "app/application.h"

#ifdef _WIN32
#include "platform/win32/win32_host.h"
#else
#include <csignal>

#include "platform/sdl/sdl_host.h"
#endif

namespace {

#ifdef _WIN32

// A Windows program: no console, and the window's own messages end it.
int RunDrawing() {
  drawing::platform::win32::Win32Host host;
  drawing::app::Application application(host.GetPlatform());
  return application.Run();
}

#else

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

int RunDrawing() {
  static_assert(std::atomic<bool>::is_always_lock_free);
  InstallStopHandlers();
  drawing::platform::sdl::SdlHost host;
  drawing::app::ApplicationOptions options;
  options.stopRequest = &stopRequested;
  drawing::app::Application application(host.GetPlatform(), options);
  return application.Run();
}

#endif

}  // namespace

// Also the entry point of the Windows build, a window program (see
// apps/CMakeLists.txt): it needs nothing from WinMain's arguments.
int main() {
  return RunDrawing();
}
