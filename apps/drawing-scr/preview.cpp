#include "preview.h"

#include <cstdio>

#include "app/application.h"
#include "platform/win32/win32_preview_host.h"

namespace drawing::scr {

int RunPreview(uintptr_t parent) {
  platform::win32::PreviewHost host(parent);
  if (!host.Open()) {
    // The window was there a moment ago; gone now, there is nothing to show.
    std::fprintf(stderr, "drawing.scr: cannot draw in window %llu\n",
                 static_cast<unsigned long long>(parent));
    return app::ExitScreenFailed;
  }
  app::ApplicationOptions options;
  options.stopRequest = host.StopRequest();
  options.beginFrame = [&host](uint32_t /*frame*/) { host.BeginFrame(); };
  app::Application application(host.GetPlatform(), options);
  return application.Run();
}

}  // namespace drawing::scr
