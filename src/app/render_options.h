// The command line of drawing-render:
//   drawing-render [--size WxH] [--frames N] [--seed S] [--input FILE]
//                  [--out FILE] [--screen FILE]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drawing::app {

struct RenderOptions {
  int32_t width = 1280;  // the one display mode offered, 1..32767 each way
  int32_t height = 720;
  uint32_t frames = 600;         // passes of the frame loop at most
  std::optional<uint32_t> seed;  // replaces the thread id ^ tick count seed
  std::string inputScript;       // empty: no scripted input
  std::string out = "bild.bmp";  // the Canvas when the run ends
  std::string screen;            // empty: the last screen is not written
  bool help = false;
};

struct RenderOptionsResult {
  RenderOptions options;
  std::string error;  // empty on success; else one line naming the problem
};

inline constexpr int32_t MaxRenderSide = 32767;

// `arguments` excludes the program name. Options take their value as the next
// argument or after '=' (--size=640x480).
RenderOptionsResult ParseRenderOptions(const std::vector<std::string>& arguments);

// The usage text, several lines, ending with a newline.
std::string RenderUsage();

}  // namespace drawing::app
