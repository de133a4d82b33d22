#include "command_line.h"

#include <charconv>
#include <cstdio>

namespace drawing::launch {
namespace {

LaunchRequest Refusal(std::string message) {
  return LaunchRequest{LaunchAction::Refuse, std::nullopt, std::move(message)};
}

bool Is(std::string_view argument, std::string_view name) {
  // Screen-saver hosts write options with one dash or two.
  return argument == name || argument == name.substr(1);
}

}  // namespace

std::optional<uint32_t> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end || value == 0) {
    return std::nullopt;
  }
  return value;
}

std::string Printable(std::string_view text) {
  constexpr size_t kLongest = 64;
  std::string shown;
  for (const char c : text.substr(0, kLongest)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  if (text.size() > kLongest) {
    shown += "...";
  }
  return shown;
}

LaunchRequest ParseLaunch(std::span<const std::string_view> arguments, const char* hostWindow) {
  bool root = false;
  std::optional<uint32_t> named;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      return LaunchRequest{LaunchAction::Help, std::nullopt, {}};
    }
    if (argument == "--version") {
      return LaunchRequest{LaunchAction::Version, std::nullopt, {}};
    }
    if (Is(argument, "--root")) {
      root = true;
      continue;
    }
    std::string_view value;
    if (Is(argument, "--window-id")) {
      if (i + 1 == arguments.size()) {
        return Refusal(std::string(argument) + " needs a window id");
      }
      value = arguments[++i];
    } else if (argument.starts_with("--window-id=")) {
      value = argument.substr(argument.find('=') + 1);
    } else {
      return Refusal("unknown argument '" + Printable(argument) + "' (try --help)");
    }
    named = ParseWindowId(value);
    if (!named) {
      return Refusal("--window-id: '" + Printable(value) +
                     "' is not a window id (decimal or 0x-hex, not 0)");
    }
  }
  if (named) {
    return LaunchRequest{LaunchAction::Hosted, named, {}};
  }
  if (hostWindow != nullptr && *hostWindow != '\0') {
    const std::optional<uint32_t> fromHost = ParseWindowId(hostWindow);
    if (!fromHost) {
      return Refusal("XSCREENSAVER_WINDOW: '" + Printable(hostWindow) +
                     "' is not a window id (decimal or 0x-hex, not 0)");
    }
    return LaunchRequest{LaunchAction::Hosted, fromHost, {}};
  }
  if (root) {
    return LaunchRequest{LaunchAction::Hosted, std::nullopt, {}};
  }
  return LaunchRequest{};
}

std::string UsageText() {
  return "Usage: drawing [--root | --window-id ID]\n"
         "\n"
         "A swarm of particles chases a wandering attractor and paints ribbons into\n"
         "a canvas that is never cleared, in a slowly drifting colour gradient.\n"
         "\n"
         "With no option the program runs full screen: hold the left mouse button\n"
         "to add particles, press any key or move the mouse right or down to end it;\n"
         "releasing S saves the canvas as bild.bmp.\n"
         "\n"
         "Options:\n"
         "  --root, -root            draw in the window XSCREENSAVER_WINDOW names,\n"
         "                           else in the root window\n"
         "  --window-id ID, -window-id ID\n"
         "                           draw in the X window ID (decimal or 0x-hex)\n"
         "  --help                   show this text\n"
         "  --version                show the version\n"
         "\n"
         "Environment:\n"
         "  XSCREENSAVER_WINDOW=ID   draw in that window (set by XScreenSaver and\n"
         "                           xsecurelock)\n"
         "\n"
         "In another program's window the drawing fills the window at its size and\n"
         "leaves keys and mouse to that program; it ends with status 0 on SIGTERM,\n"
         "SIGINT or SIGHUP, or when the window is destroyed.\n";
}

}  // namespace drawing::launch
