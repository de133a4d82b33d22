// What Windows asks of a screen saver (`drawing.scr`) through its command
// line, and the one-line complaint when the line is malformed. Plain C++ so
// that every form is tested on every platform; the Windows entry point in
// apps/drawing-scr acts on the result.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace drawing::saver {

enum class ScrMode : uint8_t {
  Settings,        // /c, /c:<HWND> or nothing: the settings dialog
  FullScreen,      // /s: the program, full screen
  Preview,         // /p <HWND>: a live picture inside that window
  ChangePassword,  // /a <HWND>: nothing to do
};

struct ScrCommand {
  ScrMode mode = ScrMode::Settings;
  // The window named on the command line (the preview's parent, the
  // dialog's owner); 0 when none was given.
  uintptr_t window = 0;
};

struct ScrParse {
  std::optional<ScrCommand> command;
  std::string error;  // one line naming the problem when there is no command
};

// The exit status for a command line that names no valid command.
inline constexpr int kExitMalformed = 2;

// Reads the arguments after the program name. A switch is `/` or `-` and one
// letter in either case; a window is a non-zero decimal number, attached
// with `:` or as the next argument. /p needs a window, /c and /a take one
// optionally, /s none. `isWindow` says whether a number names a live window;
// it is asked about the preview's parent and the dialog's owner (a password
// change does nothing, so its window is not checked).
ScrParse ParseScrCommand(std::span<const std::string_view> arguments,
                         const std::function<bool(uintptr_t)>& isWindow);

}  // namespace drawing::saver
