#include "preview.h"

#include <cstdio>

#include "app/application.h"
#include "platform/hosts/preview/win32_preview_host.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_preview_window.h"

namespace drawing::scr {

int RunPreview(uintptr_t parent) {
  platform::win32::PreviewWindow window(parent);
  platform::win32::PreviewHost host(window);
  if (!host.Open()) {
    // Gone already: the preview ended before it began, as it does later.
    if (IsWindow(reinterpret_cast<HWND>(parent)) == FALSE) {
      return app::kExitOk;
    }
    std::fprintf(stderr, "drawing.scr: cannot make a window in window %llu\n",
                 static_cast<unsigned long long>(parent));
    return app::kExitScreenFailed;
  }
  app::ApplicationOptions options;
  options.stopRequest = host.StopRequest();
  options.beginFrame = [&host](uint32_t /*frame*/) { host.BeginFrame(); };
  app::Application application(host.GetPlatform(), options);
  return application.Run();
}

}  // namespace drawing::scr
