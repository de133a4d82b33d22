#include "other_monitors.h"

#include "app/application.h"
#include "platform/win32/win32_monitor_window.h"
#include "platform/hosts/preview/win32_preview_host.h"

namespace drawing::scr {

namespace {

// One monitor's drawing, on its own thread: the window belongs to the thread
// that made it, and its messages are pumped there once a frame.
void RunOnMonitor(platform::Rect monitor, std::atomic<bool>& endSaver) {
  platform::win32::MonitorWindow window(monitor, endSaver);
  platform::win32::PreviewHost host(window);
  if (!host.Open()) {
    return;  // this monitor stays as it is; the others go on
  }
  app::ApplicationOptions options;
  options.stopRequest = host.StopRequest();
  options.beginFrame = [&host](uint32_t /*frame*/) { host.BeginFrame(); };
  // Saving is the primary's: these drawings have no keyboard.
  app::Application application(host.GetPlatform(), options);
  platform::IgnoreResult(application.Run());  // the saver's status is the primary's
}

}  // namespace

void OtherMonitors::Start(const std::vector<platform::Rect>& monitors) {
  for (const platform::Rect& monitor : monitors) {
    threads_.emplace_back(RunOnMonitor, monitor, std::ref(endSaver_));
  }
}

OtherMonitors::~OtherMonitors() {
  endSaver_.store(true);
  for (std::thread& thread : threads_) {
    thread.join();
  }
}

}  // namespace drawing::scr
