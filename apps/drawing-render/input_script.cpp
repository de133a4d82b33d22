#include "input_script.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <sstream>

#include "app/message_text.h"
#include "number_parse.h"

namespace drawing::app {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t\r\v\f", at);
    if (at == std::string_view::npos) {
      return words;
    }
    const size_t end = std::min(line.find_first_of(" \t\r\v\f", at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
}

// 1 for `on`, 0 for `off`, nothing for any other word.
std::optional<int32_t> Choice(std::string_view word, std::string_view on, std::string_view off) {
  if (word == on) {
    return 1;
  }
  if (word == off) {
    return 0;
  }
  return std::nullopt;
}

// The event of one non-empty line, or an error text.
std::string ParseLine(const std::vector<std::string_view>& words, ScriptEvent& event) {
  const auto frame = ParseInteger(words[0], 1, INT32_MAX);
  if (!frame) {
    return "bad frame " + Quoted(words[0]) + ": expected a number from 1 to 2147483647";
  }
  event.frame = static_cast<uint32_t>(*frame);
  if (words.size() < 2) {
    return "missing event after the frame number";
  }
  const std::string_view name = words[1];
  const auto expectArguments = [&](size_t count, const char* form) -> std::string {
    if (words.size() != count + 2) {
      return Quoted(name) + " takes " + form;
    }
    return {};
  };
  if (name == "key") {
    if (auto error = expectArguments(2, "a key code and down|up"); !error.empty()) {
      return error;
    }
    const auto code = ParseInteger(words[2], 0, 255);
    if (!code) {
      return "bad key code " + Quoted(words[2]) + ": expected 0..255";
    }
    const auto down = Choice(words[3], "down", "up");
    if (!down) {
      return "bad key state " + Quoted(words[3]) + ": expected down or up";
    }
    event.kind = ScriptEvent::Kind::Key;
    event.a = static_cast<int32_t>(*code);
    event.b = *down;
  } else if (name == "button") {
    if (auto error = expectArguments(2, "a button 1|2|3 and down|up"); !error.empty()) {
      return error;
    }
    const auto button = ParseInteger(words[2], 1, 3);
    if (!button) {
      return "bad button " + Quoted(words[2]) + ": expected 1, 2 or 3";
    }
    const auto down = Choice(words[3], "down", "up");
    if (!down) {
      return "bad button state " + Quoted(words[3]) + ": expected down or up";
    }
    event.kind = ScriptEvent::Kind::Button;
    event.a = static_cast<int32_t>(*button);
    event.b = *down;
  } else if (name == "move") {
    if (auto error = expectArguments(2, "DX DY"); !error.empty()) {
      return error;
    }
    const auto dx = ParseInteger(words[2], INT32_MIN, INT32_MAX);
    const auto dy = ParseInteger(words[3], INT32_MIN, INT32_MAX);
    if (!dx || !dy) {
      return "bad move " + Quoted(!dx ? words[2] : words[3]) +
             ": expected a whole number of mickeys";
    }
    event.kind = ScriptEvent::Kind::Move;
    event.a = static_cast<int32_t>(*dx);
    event.b = static_cast<int32_t>(*dy);
  } else if (name == "focus") {
    if (auto error = expectArguments(1, "lost|gained"); !error.empty()) {
      return error;
    }
    const auto gained = Choice(words[2], "gained", "lost");
    if (!gained) {
      return "bad focus " + Quoted(words[2]) + ": expected lost or gained";
    }
    event.kind = ScriptEvent::Kind::Focus;
    event.a = *gained;
  } else {
    return "unknown event " + Quoted(name) + ": expected key, button, move or focus";
  }
  return {};
}

enum class LineRead : uint8_t { Line, End, TooLong };

// The next line without its newline, read a byte at a time so that no line
// (a script of /dev/zero has no end to its first) takes more than the limit.
LineRead NextLine(std::streambuf& source, std::string& line) {
  line.clear();
  for (int c = source.sbumpc(); c != std::char_traits<char>::eof(); c = source.sbumpc()) {
    if (c == '\n') {
      return LineRead::Line;
    }
    if (line.size() == kScriptLineLimit) {
      return LineRead::TooLong;
    }
    line.push_back(static_cast<char>(c));
  }
  return line.empty() ? LineRead::End : LineRead::Line;
}

}  // namespace

InputScriptResult ReadInputScript(std::istream& input, const std::string& fileName,
                                  uint32_t lastFrame) {
  InputScriptResult result;
  const auto fail = [&](size_t lineNumber, const std::string& error) {
    result.events.clear();
    result.error = MessageText(fileName) + ":" + std::to_string(lineNumber) + ": " + error;
    return result;
  };
  std::streambuf& source = *input.rdbuf();
  std::string line;
  for (size_t lineNumber = 1;; ++lineNumber) {
    const LineRead read = NextLine(source, line);
    if (read == LineRead::End) {
      break;
    }
    if (read == LineRead::TooLong) {
      return fail(lineNumber, "line longer than " + std::to_string(kScriptLineLimit) + " bytes");
    }
    // Editors on Windows start a UTF-8 file with a byte-order mark; it is no
    // part of the first line's words (and would be invisible in an error).
    if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) {
      line.erase(0, 3);
    }
    const std::vector<std::string_view> words =
        Words(std::string_view(line).substr(0, line.find('#')));
    if (words.empty()) {
      continue;
    }
    ScriptEvent event;
    if (std::string error = ParseLine(words, event); !error.empty()) {
      return fail(lineNumber, error);
    }
    if (event.frame > lastFrame) {
      continue;
    }
    if (result.events.size() == kScriptEventLimit) {
      return fail(lineNumber,
                  "more than " + std::to_string(kScriptEventLimit) + " events within the run");
    }
    result.events.push_back(event);
  }
  if (input.bad()) {
    result.events.clear();
    result.error = MessageText(fileName) + ": read error";
  }
  return result;
}

InputScriptResult ParseInputScript(std::string_view text, const std::string& fileName) {
  std::istringstream input{std::string(text)};
  return ReadInputScript(input, fileName);
}

}  // namespace drawing::app
