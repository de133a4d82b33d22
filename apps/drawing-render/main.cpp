// drawing-render: the drawing program on the headless host. See render.h.
#ifdef _WIN32
#include <io.h>

#include "platform/win32/win32_api.h"
//
#include <shellapi.h>

#include "platform/win32/win32_text.h"
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

// The arguments as UTF-8. On Windows they are read from the wide command
// line: the C runtime's narrow ones went through the ANSI code page, which
// turns "Ωmega.bmp" into "Omega.bmp", "画.bmp" into "?.bmp", and a full-width
// backslash into a real one.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
      arguments.push_back(drawing::platform::win32::Utf8FromWide(wide[i]));
    }
    LocalFree(wide);
    return arguments;
  }
#endif
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
#ifdef SIGPIPE
  // A closed pipe becomes a failed write, reported as such.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> arguments = Arguments(argc, argv);
  const drawing::render::RenderEnvironment environment{std::cout, std::cerr, ErrorsIsTerminal(),
                                                       &stopRequest, &stopSignal};
  return drawing::render::RenderMain(arguments, environment);
}
