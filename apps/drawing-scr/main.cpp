// drawing.scr: the program as a Windows screen saver. Windows starts it with
// /s (full screen), /p <window> (the live preview in Screen Saver Settings),
// /c (the settings dialog; also with no argument) or /a (nothing to do). A
// malformed command line ends with status 2 before any window exists.
#include <cstdio>
#include <string_view>
#include <vector>

#include "full_screen.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_pictures_folder.h"
#include "platform/win32/win32_settings_dialog.h"
#include "platform/win32/win32_text.h"
#include "preview.h"
#include "saver/scr_command.h"
#include "saver/settings_text.h"

namespace {

namespace win32 = drawing::platform::win32;
namespace saver = drawing::saver;

int ShowSettings(uintptr_t owner) {
  const std::optional<std::wstring> pictures = win32::PicturesFolder();
  const std::string folder =
      pictures.has_value() ? win32::Utf8FromWide(*pictures) : "your Pictures folder";
  win32::ShowSettingsDialog(owner, saver::kSettingsTitle, saver::SettingsText(folder));
  return 0;
}

}  // namespace

// A window program (see apps/CMakeLists.txt): the switches are plain ASCII,
// so the C runtime's narrow arguments carry them.
int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const saver::ScrParse parse = saver::ParseScrCommand(arguments, [](uintptr_t window) {
    return IsWindow(reinterpret_cast<HWND>(window)) != FALSE;
  });
  if (!parse.command.has_value()) {
    std::fprintf(stderr, "drawing.scr: %s\n", parse.error.c_str());
    return saver::kExitMalformed;
  }
  switch (parse.command->mode) {
    case saver::ScrMode::Settings:
      return ShowSettings(parse.command->window);
    case saver::ScrMode::FullScreen:
      return drawing::scr::RunFullScreen();
    case saver::ScrMode::Preview:
      return drawing::scr::RunPreview(parse.command->window);
    case saver::ScrMode::ChangePassword:
      return 0;
  }
  return saver::kExitMalformed;
}
