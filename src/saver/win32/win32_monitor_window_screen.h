// A monitor's drawing on Windows: a MonitorWindow over the monitor, the
// software device showing the frames there through GDI (the preview's host),
// presented without a pace of its own, since it is stepped from the
// primary's frame loop, whose present paces them all.
#pragma once

#include <atomic>

#include "platform/hosts/preview/win32_preview_host.h"
#include "platform/win32/win32_monitor_window.h"
#include "saver/other_monitors.h"

namespace drawing::saver::win32 {

class MonitorWindowScreen final : public MonitorScreen {
 public:
  // Input on the window sets `endSaver`, which ends this drawing too.
  MonitorWindowScreen(const platform::Rect& monitor, std::atomic<bool>& endSaver)
      : window_(monitor, endSaver), host_(window_, platform::win32::GdiPacing::PacedByCaller) {}

  bool Open() const override { return host_.Open(); }
  platform::Platform GetPlatform() override { return host_.GetPlatform(); }
  void BeginFrame() override { host_.BeginFrame(); }
  const std::atomic<bool>* StopRequest() const override { return host_.StopRequest(); }
  platform::Hwnd Window() const { return window_.Window(); }

 private:
  platform::win32::MonitorWindow window_;
  platform::win32::PreviewHost host_;
};

}  // namespace drawing::saver::win32
