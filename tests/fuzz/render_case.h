// A small generator of drawing-render runs: a command line and an input
// script, built from a seed alone so every case can be made again. Values
// come from pools of valid, edge and hostile ones, then bytes are mutated.
// File names stay inside the working directory (or are /dev/null), and every
// command line ends with a tiny size and a few frames, so a case is quick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drawing::fuzz {

struct RenderCase {
  std::vector<std::string> arguments;
  std::string script;  // written to script.txt in the working directory
};

RenderCase MakeRenderCase(uint32_t seed);

// The case as one printable line, for a failure message.
std::string Describe(const RenderCase& run);

}  // namespace drawing::fuzz
