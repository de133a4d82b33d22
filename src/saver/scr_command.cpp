#include "saver/scr_command.h"

#include <charconv>
#include <string>
#include <utility>

namespace drawing::saver {

namespace {

enum class WindowArgument : uint8_t { None, Optional, Required };

struct SwitchForm {
  char letter;
  ScrMode mode;
  WindowArgument window;
};

constexpr SwitchForm kSwitches[] = {
    {'s', ScrMode::FullScreen, WindowArgument::None},
    {'p', ScrMode::Preview, WindowArgument::Required},
    {'c', ScrMode::Settings, WindowArgument::Optional},
    {'a', ScrMode::ChangePassword, WindowArgument::Optional},
};

// An argument as the error line shows it: in quotes, printable ASCII as it
// is and other bytes as \xNN (a switch or a window number has no others),
// cut after kShownBytes, so a hostile or runaway command line cannot fill
// the line or drive the terminal.
constexpr size_t kShownBytes = 40;

std::string Shown(std::string_view argument) {
  std::string shown = "'";
  for (const char c : argument.substr(0, kShownBytes)) {
    if (c >= ' ' && c <= '~') {
      shown += c;
    } else {
      constexpr char kHex[] = "0123456789abcdef";
      const auto byte = static_cast<unsigned char>(c);
      shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    }
  }
  shown += "'";
  if (argument.size() > kShownBytes) {
    shown += "... (" + std::to_string(argument.size()) + " bytes)";
  }
  return shown;
}

ScrParse Malformed(std::string error) {
  return ScrParse{std::nullopt, std::move(error)};
}

const SwitchForm* FindSwitch(std::string_view argument) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
    return nullptr;
  }
  const char given = argument[1];
  const char letter = given >= 'A' && given <= 'Z' ? static_cast<char>(given - 'A' + 'a') : given;
  for (const SwitchForm& form : kSwitches) {
    if (form.letter == letter && (argument.size() == 2 || argument[2] == ':')) {
      return &form;
    }
  }
  return nullptr;
}

// A non-zero decimal number that fits a window handle; nothing otherwise.
std::optional<uintptr_t> ParseWindow(std::string_view text) {
  uintptr_t value = 0;
  const char* end = text.data() + text.size();
  const auto [next, fault] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] < '0' || text[0] > '9' || fault != std::errc() || next != end ||
      value == 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

ScrParse ParseScrCommand(std::span<const std::string_view> arguments,
                         const std::function<bool(uintptr_t)>& isWindow) {
  if (arguments.empty()) {
    return ScrParse{ScrCommand{}, {}};
  }
  const std::string_view first = arguments[0];
  const SwitchForm* form = FindSwitch(first);
  if (form == nullptr) {
    return Malformed("unknown argument " + Shown(first) + " (expected /s, /p <window>, /c or /a)");
  }
  const std::string name = "/" + std::string(1, form->letter);
  std::optional<std::string_view> windowText;
  size_t used = 1;
  if (first.size() > 2) {
    windowText = first.substr(3);
  } else if (arguments.size() > 1 && form->window != WindowArgument::None) {
    windowText = arguments[1];
    used = 2;
  }
  if (used < arguments.size()) {
    return Malformed("unexpected argument " + Shown(arguments[used]) + " after " + name);
  }
  ScrCommand command{form->mode, 0};
  if (windowText.has_value()) {
    if (form->window == WindowArgument::None) {
      return Malformed(name + " takes no window");
    }
    const std::optional<uintptr_t> window = ParseWindow(*windowText);
    if (!window.has_value()) {
      return Malformed(name + " needs a window number, not " + Shown(*windowText));
    }
    command.window = *window;
  } else if (form->window == WindowArgument::Required) {
    return Malformed(name + " needs a window number");
  }
  if (command.window != 0 && command.mode != ScrMode::ChangePassword && !isWindow(command.window)) {
    return Malformed(name + ": " + std::to_string(command.window) + " is not a window");
  }
  return ScrParse{command, {}};
}

}  // namespace drawing::saver
