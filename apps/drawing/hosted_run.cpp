#include "hosted_run.h"

#include <iostream>
#include <string>

#include "app/application.h"
#include "app/message_text.h"
#include "platform/hosts/x11/x11_hosted_host.h"
#include "platform/soft/direct3d/soft_device.h"
#include "stop_signals.h"

namespace drawing::launch {
namespace {

// The software device's largest surface, each way.
constexpr uint32_t kMaxSide = platform::soft::SoftDevice::kMaxDimension;

}  // namespace

int RunHosted(std::optional<uint32_t> windowId) {
  using platform::x11::WindowChange;
  std::string error;
  const auto window = platform::x11::X11Window::Open(windowId, &error);
  if (!window) {
    std::cerr << "drawing: " << app::MessageText(error) << '\n';
    return 1;
  }
  std::atomic<bool>& stop = StopRequest();
  for (;;) {
    if (window->Width() > kMaxSide || window->Height() > kMaxSide) {
      std::cerr << "drawing: the window is " << window->Width() << "x" << window->Height()
                << ", larger than the " << kMaxSide << "x" << kMaxSide
                << " the program can draw in\n";
      return 1;
    }
    EndAtOnceOnSignal(!StopSignalled());
    platform::x11::HostedHost host(*window);
    app::ApplicationOptions options;
    options.stopRequest = &stop;
    // The window's news ends the run at the next frame's stop test.
    options.beginFrame = [&window, &stop](uint32_t frame) {
      if (frame == 1) {
        EndAtOnceOnSignal(false);  // started: from now on each frame looks
      }
      if (window->Poll() != WindowChange::Unchanged) {
        stop.store(true);
      }
    };
    app::Application application(host.GetPlatform(), options);
    const int status = application.Run();
    EndAtOnceOnSignal(false);
    if (StopSignalled() || window->Gone() || window->Poll() == WindowChange::Gone) {
      return app::kExitOk;
    }
    if (status != app::kExitOk || application.EndReason() != app::RunEnd::StopRequest) {
      return status;
    }
    // Resized: a fresh canvas at the new size. A signal that came since
    // the test above stays asked for.
    stop.store(StopSignalled());
  }
}

}  // namespace drawing::launch
