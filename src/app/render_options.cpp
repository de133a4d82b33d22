#include "app/render_options.h"

#include <string_view>

#include "app/number_parse.h"

namespace drawing::app {
namespace {

bool ParseSize(std::string_view text, RenderOptions& options) {
  const size_t cross = text.find('x');
  if (cross == std::string_view::npos) {
    return false;
  }
  const auto width = ParseInteger(text.substr(0, cross), 1, MaxRenderSide);
  const auto height = ParseInteger(text.substr(cross + 1), 1, MaxRenderSide);
  // Signs are not part of a size.
  if (!width || !height || text.front() == '+' || text[cross + 1] == '+') {
    return false;
  }
  options.width = static_cast<int32_t>(*width);
  options.height = static_cast<int32_t>(*height);
  return true;
}

// Applies one option with its value; an error text when the value is bad.
std::string Apply(std::string_view name, const std::string& value, RenderOptions& options) {
  if (name == "--size") {
    if (!ParseSize(value, options)) {
      return "bad --size '" + value + "': expected WxH with each side 1.." +
             std::to_string(MaxRenderSide);
    }
  } else if (name == "--frames") {
    const auto frames = ParseInteger(value, 0, INT32_MAX);
    if (!frames) {
      return "bad --frames '" + value + "': expected a whole number from 0 to 2147483647";
    }
    options.frames = static_cast<uint32_t>(*frames);
  } else if (name == "--seed") {
    const auto seed = ParseInteger(value, INT32_MIN, UINT32_MAX);
    if (!seed) {
      return "bad --seed '" + value + "': expected an integer from -2147483648 to 4294967295";
    }
    options.seed = static_cast<uint32_t>(*seed);  // modulo 2^32
  } else {
    std::string& target = name == "--input" ? options.inputScript
                          : name == "--out" ? options.out
                                            : options.screen;
    if (value.empty()) {
      return "bad " + std::string(name) + ": empty file name";
    }
    target = value;
  }
  return {};
}

bool TakesValue(std::string_view name) {
  return name == "--size" || name == "--frames" || name == "--seed" || name == "--input" ||
         name == "--out" || name == "--screen";
}

}  // namespace

RenderOptionsResult ParseRenderOptions(const std::vector<std::string>& arguments) {
  RenderOptionsResult result;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      result.options.help = true;
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string_view name = std::string_view(argument).substr(0, equals);
    if (!TakesValue(name)) {
      result.error = argument.starts_with("-") ? "unknown option '" + argument + "'"
                                               : "unexpected argument '" + argument + "'";
      return result;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      result.error = "option " + std::string(name) + " needs a value";
      return result;
    }
    result.error = Apply(name, value, result.options);
    if (!result.error.empty()) {
      return result;
    }
  }
  return result;
}

std::string RenderUsage() {
  return "usage: drawing-render [--size WxH] [--frames N] [--seed S] [--input FILE]\n"
         "                      [--out FILE] [--screen FILE]\n"
         "  --size WxH     the one 32-bit display mode offered (default 1280x720)\n"
         "  --frames N     run at most N frames (default 600)\n"
         "  --seed S       seed of the random generator (default: thread id ^ tick count)\n"
         "  --input FILE   input script: 'FRAME key CODE down|up', 'FRAME button 1|2|3 "
         "down|up',\n"
         "                 'FRAME move DX DY', 'FRAME focus lost|gained'\n"
         "  --out FILE     the Canvas as a 24-bit BMP when the run ends (default bild.bmp)\n"
         "  --screen FILE  also the last presented screen as a 24-bit BMP\n";
}

}  // namespace drawing::app
