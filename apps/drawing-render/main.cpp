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
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "render.h"

namespace {

// A signal handler can reach nothing else: the flags it sets live here.
std::atomic<bool> stopRequest{false};
std::atomic<int> stopSignal{0};

// The first signal ends the run in order: what there is is written, and the
// status names that signal. A second one (Ctrl-C again during a poster's
// long final write) ends the program at once by the first signal, leaving
// any file being written as it was (only a complete file replaces one).
extern "C" void RequestStop(int signal) {
  int first = 0;
  if (!stopSignal.compare_exchange_strong(first, signal)) {
#ifndef _WIN32
    constexpr char kLine[] = "drawing-render: stopped at once; the file being written is left\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kLine, sizeof kLine - 1);
    // Dying by the first signal tells a calling shell what ended us. It is
    // blocked while its own handler runs, so it is let through.
    std::signal(first, SIG_DFL);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, first);
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    std::raise(first);
#endif
    std::_Exit(drawing::render::kExitInterruptedBase + first);
  }
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
#ifdef SIGHUP
  // The terminal closing: the poster is written all the same.
  std::signal(SIGHUP, RequestStop);
#endif
#ifdef SIGPIPE
  // A closed pipe becomes a failed write, reported as such.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  const std::vector<std::string> arguments = Arguments(argc, argv);
  const drawing::render::RenderEnvironment environment{std::cout, std::cerr, ErrorsIsTerminal(),
                                                       &stopRequest, &stopSignal};
  return drawing::render::RenderMain(arguments, environment);
}
