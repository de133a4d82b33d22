// Thousands of generated and mutated command lines and input scripts run
// through the real drawing-render (under AddressSanitizer and UBSan in the
// asan preset). Every run must end with status 0, 1 or 2 within its time,
// say anything only in lines of its own (no sanitizer report, no raw control
// character), and a failure in exactly one line. A failing case prints its
// seed; RENDER_FUZZ_SEED=N runs that case alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "render_case.h"
#include "scenarios/render_tool.h"
#include "support/scratch_directory.h"

namespace drawing::fuzz {
namespace {

constexpr uint32_t kFirstSeed = 1;
constexpr uint32_t kCases = 2000;
constexpr auto kCaseTimeLimit = std::chrono::seconds(30);

struct Outcome {
  int status = -1;  // exit status; -1 for a signal or the time limit
  std::string errors;
};

// Runs the program in `directory` with stdin from /dev/null and both
// outputs into files there.
Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& directory) {
  const std::string errorsFile = (directory / "stderr.txt").string();
  const std::string outputFile = (directory / "stdout.txt").string();
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || chdir(directory.c_str()) != 0 ||
        dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
        dup2(err, STDERR_FILENO) < 0) {
      _exit(120);
    }
    execv(program.c_str(), argv.data());
    _exit(121);
  }
  Outcome outcome;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kCaseTimeLimit;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      outcome.errors = "(killed after the time limit)\n";
      return outcome;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.errors = support::ReadAll(errorsFile);
  return outcome;
}

// What is wrong with an outcome; empty when it is sound.
std::string Judge(const Outcome& outcome) {
  if (outcome.status < 0 || outcome.status > 2) {
    return "status " + std::to_string(outcome.status);
  }
  std::istringstream lines(outcome.errors);
  size_t count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    if (!line.starts_with("drawing-render: ")) {
      return "a line not of its own: " + line;
    }
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
        return "a raw control character in: " + line;
      }
    }
  }
  if (!outcome.errors.empty() && outcome.errors.back() != '\n') {
    return "an unfinished line";
  }
  if (outcome.status == 2 && count != 1) {
    return "bad usage told in " + std::to_string(count) + " lines";
  }
  if (outcome.status == 1 && count == 0) {
    return "a failure told nowhere";
  }
  return {};
}

TEST(RenderFuzz, EveryRunEndsCleanly) {
  const std::filesystem::path program = scenarios::RenderProgram();
  ASSERT_FALSE(program.empty()) << "drawing-render not found";
  support::ScratchDirectory scratch;
  std::filesystem::create_directory(scratch.Path() / "dir");
  ASSERT_EQ(mkfifo((scratch.Path() / "fifo").c_str(), 0600), 0);

  uint32_t first = kFirstSeed;
  uint32_t count = kCases;
  if (const char* only = std::getenv("RENDER_FUZZ_SEED")) {
    first = static_cast<uint32_t>(std::strtoul(only, nullptr, 10));
    count = 1;
  }
  uint32_t failures = 0;
  for (uint32_t seed = first; seed < first + count && failures < 5; ++seed) {
    const RenderCase run = MakeRenderCase(seed);
    std::ofstream(scratch.Path() / "script.txt", std::ios::binary) << run.script;
    const Outcome outcome =
        RunProgram(std::filesystem::absolute(program).string(), run.arguments, scratch.Path());
    if (const std::string problem = Judge(outcome); !problem.empty()) {
      ++failures;
      ADD_FAILURE() << "seed " << seed << " (RENDER_FUZZ_SEED=" << seed << "): " << problem
                    << "\n  " << Describe(run) << "\n  standard error:\n"
                    << outcome.errors;
    }
  }
}

}  // namespace
}  // namespace drawing::fuzz
