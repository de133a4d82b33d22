#include "full_screen.h"

#include "app/application.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_message_log.h"
#include "platform/win32/win32_pictures_folder.h"

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
    platform::win32::Win32MessageLog messages;
    app::ApplicationOptions options;
    options.errors = &messages;
    app::Application application(host.GetPlatform(), options);
    status = application.Run();
  }
  if (running != nullptr) {
    CloseHandle(running);
  }
  return status;
}

}  // namespace drawing::scr
