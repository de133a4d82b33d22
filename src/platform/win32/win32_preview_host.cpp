#include "platform/win32/win32_preview_host.h"

namespace drawing::platform::win32 {

PreviewHost::PreviewHost(SaverWindow& window)
    : window_(window),
      windowing_(static_cast<soft::WindowHost&>(*this)),
      display_(window_.Window(), static_cast<uint32_t>(window_.Width()),
               static_cast<uint32_t>(window_.Height())),
      direct3d_(display_, gdi_),
      input_(static_cast<soft::InputHost&>(*this), true) {}

platform::Platform PreviewHost::GetPlatform() {
  return platform::Platform{system_, windowing_, direct3d_, gdi_, input_, files_};
}

void PreviewHost::BeginFrame() {
  if (!window_.Pump()) {
    stop_.store(true);
  }
}

}  // namespace drawing::platform::win32
