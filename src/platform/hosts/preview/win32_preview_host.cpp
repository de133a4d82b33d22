#include "platform/hosts/preview/win32_preview_host.h"

namespace drawing::platform::win32 {

PreviewHost::PreviewHost(SaverWindow& window, GdiPacing pacing)
    : window_(window),
      display_(window_.Window(), static_cast<uint32_t>(window_.Width()),
               static_cast<uint32_t>(window_.Height()), pacing),
      direct3d_(display_, gdi_) {}

platform::Platform PreviewHost::GetPlatform() {
  return platform::Platform{system_, guest_.Windowing(), direct3d_, gdi_, guest_.Input(), files_};
}

void PreviewHost::BeginFrame() {
  if (!window_.Pump()) {
    stop_.store(true);
  }
}

}  // namespace drawing::platform::win32
