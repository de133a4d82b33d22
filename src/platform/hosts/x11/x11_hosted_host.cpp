#include "platform/hosts/x11/x11_hosted_host.h"

namespace drawing::platform::x11 {

HostedHost::HostedHost(X11Window& window) : display_(window, clock_), direct3d_(display_, gdi_) {}

platform::Platform HostedHost::GetPlatform() {
  return platform::Platform{system_, guest_.Windowing(), direct3d_, gdi_, guest_.Input(), files_};
}

}  // namespace drawing::platform::x11
