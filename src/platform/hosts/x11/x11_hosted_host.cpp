#include "platform/hosts/x11/x11_hosted_host.h"

namespace drawing::platform::x11 {

HostedHost::HostedHost(X11Window& window)
    : windowing_(static_cast<soft::WindowHost&>(*this)),
      display_(window, clock_),
      input_(static_cast<soft::InputHost&>(*this), /*focused=*/true),
      direct3d_(display_, gdi_) {}

platform::Platform HostedHost::GetPlatform() {
  return platform::Platform{system_, windowing_, direct3d_, gdi_, input_, files_};
}

}  // namespace drawing::platform::x11
