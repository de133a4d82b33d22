#include "platform/headless/headless_input_script.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace drawing::platform::headless {

namespace {

// Splits a line into its words, dropping any comment.
std::vector<std::string_view> Words(std::string_view line) {
  const size_t comment = line.find('#');
  if (comment != std::string_view::npos) {
    line = line.substr(0, comment);
  }
  std::vector<std::string_view> words;
  size_t position = 0;
  while (position < line.size()) {
    const size_t start = line.find_first_not_of(" \t\r", position);
    if (start == std::string_view::npos) {
      break;
    }
    size_t end = line.find_first_of(" \t\r", start);
    if (end == std::string_view::npos) {
      end = line.size();
    }
    words.push_back(line.substr(start, end - start));
    position = end;
  }
  return words;
}

std::optional<int64_t> Number(std::string_view word) {
  bool negative = false;
  if (!word.empty() && (word[0] == '-' || word[0] == '+')) {
    negative = word[0] == '-';
    word.remove_prefix(1);
  }
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  if (word.empty() || word[0] == '-' || word[0] == '+') {
    return std::nullopt;
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<int32_t> InRange(std::string_view word, int64_t low, int64_t high) {
  const std::optional<int64_t> value = Number(word);
  if (!value || *value < low || *value > high) {
    return std::nullopt;
  }
  return static_cast<int32_t>(*value);
}

std::optional<uint32_t> FrameNumber(std::string_view word) {
  const std::optional<int64_t> value = Number(word);
  if (!value || *value < 0 || *value > std::numeric_limits<uint32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<uint32_t>(*value);
}

std::optional<int32_t> Delta(std::string_view word) {
  return InRange(word, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

// The event named by the words after the frame number.
std::optional<InputEvent> Event(const std::vector<std::string_view>& words) {
  const std::string_view name = words[1];
  const size_t arguments = words.size() - 2;
  if ((name == "keydown" || name == "keyup") && arguments == 1) {
    const auto code = InRange(words[2], 0, 255);
    if (!code) {
      return std::nullopt;
    }
    return name == "keydown" ? InputEvent::KeyDown(*code) : InputEvent::KeyUp(*code);
  }
  if (name == "move" && arguments == 2) {
    const auto dx = Delta(words[2]);
    const auto dy = Delta(words[3]);
    if (!dx || !dy) {
      return std::nullopt;
    }
    return InputEvent::Move(*dx, *dy);
  }
  if (name == "wheel" && arguments == 1) {
    const auto dz = Delta(words[2]);
    if (!dz) {
      return std::nullopt;
    }
    return InputEvent::Wheel(*dz);
  }
  if ((name == "press" || name == "release") && arguments == 1) {
    const auto button = InRange(words[2], 1, 4);
    if (!button) {
      return std::nullopt;
    }
    return InputEvent::Button(*button, name == "press");
  }
  if (name == "focus" && arguments == 1 && (words[2] == "on" || words[2] == "off")) {
    return InputEvent::Focus(words[2] == "on");
  }
  return std::nullopt;
}

}  // namespace

int LoadInputScript(std::string_view text, HeadlessInput& input) {
  std::vector<std::pair<uint32_t, InputEvent>> events;
  int lineNumber = 0;
  size_t position = 0;
  while (position <= text.size()) {
    size_t end = text.find('\n', position);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    ++lineNumber;
    const std::vector<std::string_view> words = Words(text.substr(position, end - position));
    position = end + 1;
    if (words.empty()) {
      continue;
    }
    const auto frame = words.size() >= 2 ? FrameNumber(words[0]) : std::nullopt;
    const auto event = frame ? Event(words) : std::nullopt;
    if (!event) {
      return lineNumber;
    }
    events.emplace_back(*frame, *event);
  }
  for (const auto& [frame, event] : events) {
    input.AddEvent(frame, event);
  }
  return 0;
}

}  // namespace drawing::platform::headless
