// What `drawing` was asked to do by its command line and by the
// XSCREENSAVER_WINDOW variable that screen-saver hosts set: run full screen
// (no option, no variable), draw in a window another program owns, print
// the usage or the version, or refuse with one line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace drawing::launch {

enum class LaunchAction : uint8_t { FullScreen, Hosted, Help, Version, Refuse };

struct LaunchRequest {
  LaunchAction action = LaunchAction::FullScreen;
  // Hosted: the X window to draw in; none means the root window.
  std::optional<uint32_t> windowId;
  // Refuse: the one line to print (without "drawing: " or a newline).
  std::string error;
};

inline constexpr int kExitUsage = 2;

// `arguments` without the program name; `hostWindow` is XSCREENSAVER_WINDOW
// (null when unset). An explicit --window-id wins over the variable, the
// variable over --root alone.
LaunchRequest ParseLaunch(std::span<const std::string_view> arguments, const char* hostWindow);

// A window id in decimal or 0x-hex, not zero, within 32 bits.
std::optional<uint32_t> ParseWindowId(std::string_view text);

// A value as it may be shown in a message: control characters escaped and
// anything past 64 characters cut.
std::string Printable(std::string_view text);

std::string UsageText();

}  // namespace drawing::launch
