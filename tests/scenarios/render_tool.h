// Running the built drawing-render program (found through DRAWING_BINARY_DIR,
// which CTest sets, or beside the test's working directory).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratch_directory.h"

namespace drawing::scenarios {

using support::ReadAll;
using support::ScratchDirectory;

struct RenderRun {
  int status = -1;
  std::string errors;  // what it wrote on standard error
  std::string output;  // on standard output
};

inline std::filesystem::path RenderProgram() {
  const char* configured = std::getenv("DRAWING_BINARY_DIR");
  const std::filesystem::path directory = configured != nullptr ? configured : "..";
  for (const char* name : {"drawing-render", "drawing-render.exe"}) {
    if (std::filesystem::exists(directory / name)) {
      return directory / name;
    }
  }
  return {};
}

inline std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// What a program printed in text mode, with Windows line ends made plain.
inline std::string PrintedText(const std::filesystem::path& path) {
  std::string text = ReadAll(path);
  std::erase(text, '\r');
  return text;
}

// Runs drawing-render with `arguments` (already quoted where needed), in
// `workingDirectory` when one is given.
inline RenderRun Render(const ScratchDirectory& scratch, const std::string& arguments,
                        const std::string& workingDirectory = {}) {
  RenderRun run;
  const std::filesystem::path program = RenderProgram();
  if (program.empty()) {
    ADD_FAILURE() << "drawing-render not found: build it first (DRAWING_BINARY_DIR)";
    return run;
  }
  const std::string errorsFile = scratch / "stderr.txt";
  const std::string outputFile = scratch / "stdout.txt";
#ifdef _WIN32
  // cmd.exe /c drops the first and the last quote of a command that starts
  // with one, so the whole command gets one more pair.
  const std::string changeDirectory = "cd /d ", open = "\"", close = "\"";
#else
  const std::string changeDirectory = "cd ", open, close;
#endif
  const std::string directory = workingDirectory.empty()
                                    ? std::string()
                                    : changeDirectory + Quoted(workingDirectory) + " && ";
  const std::string command =
      open + directory + Quoted(std::filesystem::absolute(program).string()) + " " + arguments +
      " > " + Quoted(outputFile) + " 2> " + Quoted(errorsFile) + close;
  // -1: the command processor itself did not start (seen now and then under
  // wine on a loaded machine); that says nothing about drawing-render.
  int result = -1;
  for (int attempt = 0; attempt < 3 && result == -1; ++attempt) {
    result = std::system(command.c_str());
  }
#ifdef WEXITSTATUS
  run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#else
  run.status = result;
#endif
  run.errors = PrintedText(errorsFile);
  run.output = PrintedText(outputFile);
  std::filesystem::remove(errorsFile);
  std::filesystem::remove(outputFile);
  return run;
}

// FNV-1a, 64 bits: a stable fingerprint of a file's bytes.
inline uint64_t Fingerprint(const std::string& bytes) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace drawing::scenarios
