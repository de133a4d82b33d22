// drawing-render: the program on the headless host, driven by an input
// script, writing the Canvas (and optionally the last screen) as BMP or PNG
// files and every screen as a video stream.
#pragma once

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace drawing::render {

// Success is the program's own app::kExitOk.
inline constexpr int kExitOutputFailed = 1;
inline constexpr int kExitBadUsage = 2;
// An interrupted run ends with this plus the signal's number (130 for SIGINT).
inline constexpr int kExitInterruptedBase = 128;

struct RenderEnvironment {
  std::ostream& out;
  std::ostream& errors;
  bool errorsIsTerminal = false;                 // a progress bar may be drawn on `errors`
  std::atomic<bool>* stopRequest = nullptr;      // set by SIGINT / SIGTERM, and by a failed video
  const std::atomic<int>* stopSignal = nullptr;  // the signal that set it
};

// Runs one render with the given arguments (without the program name) and
// returns the exit status.
int RenderMain(const std::vector<std::string>& arguments, const RenderEnvironment& environment);

}  // namespace drawing::render
