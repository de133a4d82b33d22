#include "render_options.h"

#include <string_view>

#include "app/message_text.h"
#include "number_parse.h"

namespace drawing::app {
namespace {

bool ParseSize(std::string_view text, RenderOptions& options) {
  const size_t cross = text.find('x');
  if (cross == std::string_view::npos) {
    return false;
  }
  const auto width = ParseInteger(text.substr(0, cross), 1, kMaxRenderSide);
  const auto height = ParseInteger(text.substr(cross + 1), 1, kMaxRenderSide);
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
      return "bad --size " + Quoted(value) + ": expected WxH with each side 1.." +
             std::to_string(kMaxRenderSide);
    }
  } else if (name == "--frames") {
    const auto frames = ParseInteger(value, 0, INT32_MAX);
    if (!frames) {
      return "bad --frames " + Quoted(value) + ": expected a whole number from 0 to 2147483647";
    }
    options.frames = static_cast<uint32_t>(*frames);
  } else if (name == "--painted") {
    const auto percent = ParseInteger(value, 1, 100);
    if (!percent) {
      return "bad --painted " + Quoted(value) + ": expected a percentage from 1 to 100";
    }
    options.paintedPercent = static_cast<uint32_t>(*percent);
  } else if (name == "--seed") {
    const auto seed = ParseInteger(value, INT32_MIN, UINT32_MAX);
    if (!seed) {
      return "bad --seed " + Quoted(value) + ": expected an integer from -2147483648 to 4294967295";
    }
    options.seed = static_cast<uint32_t>(*seed);  // modulo 2^32
  } else {
    std::string& target = name == "--input"   ? options.inputScript
                          : name == "--out"   ? options.out
                          : name == "--video" ? options.video
                                              : options.screen;
    if (value.empty()) {
      return "bad " + std::string(name) + ": empty file name";
    }
    target = value;
  }
  return {};
}

bool TakesValue(std::string_view name) {
  return name == "--size" || name == "--frames" || name == "--painted" || name == "--seed" ||
         name == "--input" || name == "--out" || name == "--screen" || name == "--video";
}

}  // namespace

RenderOptionsResult ParseRenderOptions(const std::vector<std::string>& arguments) {
  RenderOptionsResult result;
  bool framesGiven = false;
  bool paintedGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      result.options.help = true;
      continue;
    }
    if (argument == "--version" || argument == "--quiet" || argument == "--progress") {
      (argument == "--version" ? result.options.version
       : argument == "--quiet" ? result.options.quiet
                               : result.options.progress) = true;
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string_view name = std::string_view(argument).substr(0, equals);
    if (!TakesValue(name)) {
      result.error = argument.starts_with("-") ? "unknown option " + Quoted(argument)
                                               : "unexpected argument " + Quoted(argument);
      return result;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      result.error = "option " + MessageText(name) + " needs a value";
      return result;
    }
    result.error = Apply(name, value, result.options);
    if (!result.error.empty()) {
      return result;
    }
    framesGiven = framesGiven || name == "--frames";
    paintedGiven = paintedGiven || name == "--painted";
  }
  if (framesGiven && !paintedGiven) {
    result.options.paintedPercent = 0;  // exactly the frames asked for
  }
  return result;
}

std::string RenderUsage() {
  return "usage: drawing-render [options]\n"
         "Runs the drawing program without a screen and writes what it made.\n"
         "The canvas is the picture the particles' strokes build up; the screen is\n"
         "what a viewer sees each frame: the canvas with the particles' boxes on top.\n"
         "\n"
         "  --size WxH       canvas and screen size, each side 1..16384 (default 1280x720)\n"
         "  --frames N       run N frames, 60 to a second; with --painted, at most N\n"
         "                   (default 36000)\n"
         "  --painted P      end as soon as P percent of the canvas is painted (checked\n"
         "                   each second of frames). Without either option a run ends\n"
         "                   once 60 percent is painted\n"
         "  --seed S         seed of the random generator; without it a fresh seed is\n"
         "                   chosen and printed, so a picture can be made again\n"
         "  --input FILE     input script (see below)\n"
         "  --out FILE       the canvas when the run ends\n"
         "  --screen FILE    the last screen\n"
         "                   (both: PNG when FILE ends in .png, 24-bit BMP when it ends\n"
         "                   in .bmp or has no extension)\n"
         "  --video FILE     every screen as a YUV4MPEG2 video stream, 60 frames a\n"
         "                   second; '-' writes it to standard output\n"
         "  --quiet          say nothing on standard error unless something fails\n"
         "  --progress       a progress line every few seconds even when standard\n"
         "                   error is not a terminal\n"
         "  --version        print the version and exit\n"
         "\n"
         "An input script has one event per line, at the frame it happens in:\n"
         "  FRAME key CODE down|up      CODE is a keyboard scan code: S is 31 and saves\n"
         "                              the canvas as bild.bmp when released; any other\n"
         "                              key ends the run (Escape is 1, space 57)\n"
         "  FRAME button 1|2|3 down|up  mouse buttons; while 1 is down, each frame\n"
         "                              adds a particle\n"
         "  FRAME move DX DY            the mouse moves; right or down ends the run\n"
         "  FRAME focus lost|gained\n"
         "Text after '#' is a comment. For example:\n"
         "  # particles for a third of a second, then save and end\n"
         "  30 button 1 down\n"
         "  50 button 1 up\n"
         "  300 key 31 down\n"
         "  301 key 31 up\n"
         "  400 key 1 down\n"
         "\n"
         "At least one of --out, --screen and --video is needed; no two may name the\n"
         "same file, nor the input script.\n"
         "Exit status: 0 done; 1 a file could not be written or there was not enough\n"
         "memory; 2 bad options or input script; 128 + the signal's number when\n"
         "interrupted (130 for Ctrl-C), after writing what there is.\n"
         "Examples:\n"
         "  drawing-render --size 1920x1080 --frames 1800 --out picture.png\n"
         "  drawing-render --size 1920x1080 --frames 1800 --video - | ffmpeg -i - film.mp4\n";
}

}  // namespace drawing::app
