// Running the built drawing-render program (found through DRAWING_BINARY_DIR,
// which CTest sets, or beside the test's working directory).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "scratch_directory.h"

namespace drawing::scenarios {

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
  const std::string directory =
      workingDirectory.empty() ? std::string() : "cd " + Quoted(workingDirectory) + " && ";
  const std::string command = directory + Quoted(std::filesystem::absolute(program).string()) +
                              " " + arguments + " > " + Quoted(outputFile) + " 2> " +
                              Quoted(errorsFile);
  const int result = std::system(command.c_str());
#ifdef WEXITSTATUS
  run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#else
  run.status = result;
#endif
  run.errors = ReadAll(errorsFile);
  run.output = ReadAll(outputFile);
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
