// The command line of drawing-render:
//   drawing-render [--size WxH] [--frames N] [--painted P] [--seed S] [--input FILE]
//                  [--out FILE] [--screen FILE] [--video FILE|-]
//                  [--quiet] [--progress] [--version] [--help]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drawing::app {

inline constexpr uint32_t kDefaultFrameLimit = 36000;  // ten minutes at 60 frames a second
inline constexpr uint32_t kDefaultPainted = 60;

struct RenderOptions {
  int32_t width = 1280;  // the one display mode offered, 1..kMaxRenderSide each way
  int32_t height = 720;
  // Without --frames and --painted a run ends once the picture is worth
  // keeping: kDefaultPainted percent of the canvas painted, within
  // kDefaultFrameLimit frames. --frames alone runs that many frames.
  uint32_t frames = kDefaultFrameLimit;     // passes of the frame loop at most
  uint32_t paintedPercent = kDefaultPainted;  // 1..100: end once that much is painted; 0: never
  std::optional<uint32_t> seed;  // replaces the thread id ^ tick count seed
  std::string inputScript;       // empty: no scripted input
  std::string out;               // the Canvas when the run ends; empty: not written
  std::string screen;            // empty: the last screen is not written
  std::string video;             // empty: no video; "-": standard output
  bool quiet = false;            // no word on standard error unless something fails
  bool progress = false;         // progress lines even when stderr is no terminal
  bool help = false;
  bool version = false;
};

struct RenderOptionsResult {
  RenderOptions options;
  std::string error;  // empty on success; else one line naming the problem
};

// The software Direct3D device's largest surface, each way.
inline constexpr int32_t kMaxRenderSide = 16384;

// `arguments` excludes the program name. Options take their value as the next
// argument or after '=' (--size=640x480).
RenderOptionsResult ParseRenderOptions(const std::vector<std::string>& arguments);

// The usage text, several lines, ending with a newline.
std::string RenderUsage();

}  // namespace drawing::app
