// drawing: the program on this machine's screen. On Windows that is the real
// Direct3D 9, GDI and DirectInput; on Linux and other SDL2 systems it is the
// software device shown through an SDL2 window, or, in hosted mode, in an X
// window that a screen-saver host owns (see hosted_run.h).
#include "app/application.h"

#ifdef _WIN32
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_message_log.h"
#else
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

#include "command_line.h"
#ifdef DRAWING_HOSTED
#include "hosted_run.h"
#endif
#include "platform/hosts/sdl/sdl_host.h"
#include "stop_signals.h"
#endif

namespace {

#ifdef _WIN32

// A Windows program: no console, and the window's own messages end it. What
// it has to say goes to the message log (see win32_message_log.h).
int RunDrawing(int /*argc*/, char** /*argv*/) {
  drawing::platform::win32::Win32Host host;
  drawing::platform::win32::Win32MessageLog messages;
  drawing::app::ApplicationOptions options;
  options.errors = &messages;
  drawing::app::Application application(host.GetPlatform(), options);
  return application.Run();
}

#else

int RunFullScreen() {
  drawing::platform::sdl::SdlHost host;
  drawing::app::ApplicationOptions options;
  options.stopRequest = &drawing::launch::StopRequest();
  options.screenFailure = [&host] { return host.ScreenFailure(); };
  drawing::app::Application application(host.GetPlatform(), options);
  return application.Run();
}

int RunDrawing(int argc, char** argv) {
  using drawing::launch::LaunchAction;
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const drawing::launch::LaunchRequest request =
      drawing::launch::ParseLaunch(arguments, std::getenv("XSCREENSAVER_WINDOW"));
  switch (request.action) {
    case LaunchAction::Help:
      std::cout << drawing::launch::UsageText();
      return 0;
    case LaunchAction::Version:
      std::cout << "drawing " << DRAWING_VERSION << '\n';
      return 0;
    case LaunchAction::Refuse:
      std::cerr << "drawing: " << request.error << '\n';
      return drawing::launch::kExitUsage;
    case LaunchAction::Hosted:
#ifdef DRAWING_HOSTED
      drawing::launch::InstallStopHandlers();
      return drawing::launch::RunHosted(request.windowId);
#else
      std::cerr << "drawing: this build cannot draw in another program's window (no Xlib)\n";
      return 1;
#endif
    case LaunchAction::FullScreen:
      break;
  }
  drawing::launch::InstallStopHandlers();
  return RunFullScreen();
}

#endif

}  // namespace

// Also the entry point of the Windows build, a window program (see
// apps/CMakeLists.txt).
int main(int argc, char** argv) {
  return RunDrawing(argc, argv);
}
