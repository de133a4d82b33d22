// drawing-render: the drawing program on the headless host. See render.h.
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "render.h"

namespace {

// A signal handler can reach nothing else: the one flag it sets lives here.
std::atomic<bool> stopRequest{false};
std::atomic<int> stopSignal{0};

extern "C" void RequestStop(int signal) {
  stopSignal.store(signal);
  stopRequest.store(true);
}

bool ErrorsIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) == 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
#ifdef SIGPIPE
  // A closed pipe becomes a failed write, reported as such.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const drawing::render::RenderEnvironment environment{std::cout, std::cerr, ErrorsIsTerminal(),
                                                       &stopRequest, &stopSignal};
  return drawing::render::RenderMain(arguments, environment);
}
