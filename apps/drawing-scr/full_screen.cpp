#include "full_screen.h"

#include <atomic>
#include <memory>

#include "app/application.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_message_log.h"
#include "platform/win32/win32_pictures_folder.h"
#include "saver/other_monitors.h"
#include "saver/win32/win32_monitor_window_screen.h"

namespace drawing::scr {

namespace {

// Held for the whole run; a second /s finds it and leaves. Windows may start
// /s again while one runs (the timeout passes a second time).
constexpr wchar_t kRunningMutex[] = L"Local\\drawing.scr full screen";

// Windows starts a saver in the system folder, where S could not save; the
// picture goes to the user's Pictures folder instead. Changing the working
// directory (rather than naming the path) keeps a folder name that the
// ANSI code page cannot spell. Without the folder the save fails as any
// failed save does.
void WorkInPicturesFolder() {
  const std::optional<std::wstring> pictures = platform::win32::PicturesFolder();
  if (pictures.has_value()) {
    SetCurrentDirectoryW(pictures->c_str());
  }
}

}  // namespace

int RunFullScreen() {
  const HANDLE running = CreateMutexW(nullptr, FALSE, kRunningMutex);
  if (running != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(running);
    return 0;
  }
  WorkInPicturesFolder();
  int status = 0;
  {
    platform::win32::Win32Host host;
    const platform::Platform ports = host.GetPlatform();
    platform::win32::Win32MessageLog messages;
    // Input over any monitor ends the whole saver.
    std::atomic<bool> endSaver{false};
    saver::OtherMonitors others(
        [&endSaver](const platform::Rect& monitor) {
          return std::make_unique<saver::win32::MonitorWindowScreen>(monitor, endSaver);
        },
        &messages);
    // While the primary is not shown (another window was activated) its
    // present does not wait, and the other monitors keep their pace here.
    platform::soft::SteadyPaceClock clock;
    platform::soft::FramePacer pacer(clock);
    app::Application* primary = nullptr;
    app::ApplicationOptions options;
    options.errors = &messages;
    options.stopRequest = &endSaver;
    options.beginFrame = [&](uint32_t frame) {
      others.PrimaryFrameBegins(frame, ports.windowing);
      if (others.Running() > 0 && primary != nullptr && !primary->Display().ScreenActive()) {
        pacer.FramePresented();
      }
    };
    app::Application application(ports, options);
    primary = &application;
    status = application.Run();
  }
  if (running != nullptr) {
    CloseHandle(running);
  }
  return status;
}

}  // namespace drawing::scr
