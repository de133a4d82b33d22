// drawing-render: the program on the headless host, driven by an input
// script, writing the Canvas (and optionally the last screen) as BMP files.
#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace drawing::render {

inline constexpr int kExitOk = 0;
inline constexpr int kExitOutputFailed = 1;
inline constexpr int kExitBadUsage = 2;

struct RenderEnvironment {
  std::ostream& out;
  std::ostream& errors;
  bool errorsIsTerminal = false;                   // a progress bar may be drawn on `errors`
  const std::atomic<bool>* stopRequest = nullptr;  // set by SIGINT / SIGTERM
};

// Runs one render with the given arguments (without the program name) and
// returns the exit status.
int RenderMain(const std::vector<std::string>& arguments, const RenderEnvironment& environment);

}  // namespace drawing::render
