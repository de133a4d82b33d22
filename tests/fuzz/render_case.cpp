#include "render_case.h"

#include <random>

namespace drawing::fuzz {
namespace {

class Picker {
 public:
  explicit Picker(uint32_t seed) : random_(seed) {}
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(random_() % bound); }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  template <typename T, size_t N>
  const T& From(const T (&pool)[N]) {
    return pool[Below(N)];
  }

 private:
  std::mt19937 random_;
};

const char* const kNumbers[] = {
    "0",           "1",           "2",          "5",          "255",
    "256",         "-1",          "+3",         "2147483647", "2147483648",
    "-2147483648", "-2147483649", "4294967295", "4294967296", "99999999999999999999",
    "007",         "1e3",         "0x10",       " 4",         "",
    "x",           "\x1b[2J",     "3\n4"};
const char* const kSizes[] = {"2x2", "1x1",  "8x3",  "0x5", "16385x1", "16384x16384", "2x",
                              "x2",  "+2x2", "2x+2", "2X2", "-2x2",    "2x2x2",       "\xff\xfex1"};
const char* const kFiles[] = {"out.bmp", "o.png", "v.y4m",        "missing/x.bmp",
                              ".",       "dir",   "fifo",         "/dev/null",
                              "-",       "",      "e\x1b[2J.bmp", "line\nbreak.bmp"};
const char* const kOptions[] = {
    "--size",     "--frames", "--seed",    "--input", "--out",   "--screen", "--video", "--quiet",
    "--progress", "--help",   "--version", "-h",      "--sizes", "-",        "extra",   "--out="};
const char* const kEvents[] = {"key", "button", "move", "focus", "jump", ""};
const char* const kWords[] = {"down", "up", "gained", "lost", "1", "31", "2", "-5", "DOWN"};

std::string LongFileName(Picker& pick) {
  return std::string(200 + pick.Below(100), 'n') + ".bmp";
}

std::string OptionValue(Picker& pick, const std::string& option) {
  if (option == "--size") {
    return pick.From(kSizes);
  }
  if (option == "--frames" || option == "--seed") {
    return pick.From(kNumbers);
  }
  if (option == "--input") {
    // Not the FIFO: reading one waits for a writer, as it should.
    const std::string file = pick.From(kFiles);
    return pick.Chance(80) || file == "fifo" ? "script.txt" : file;
  }
  return pick.Chance(10) ? LongFileName(pick) : pick.From(kFiles);
}

std::string ScriptLine(Picker& pick) {
  std::string line = pick.Chance(85) ? std::to_string(1 + pick.Below(6)) : pick.From(kNumbers);
  line += ' ';
  line += pick.From(kEvents);
  for (uint32_t word = pick.Below(4); word > 0; --word) {
    line += pick.Chance(50) ? ' ' : '\t';
    line += pick.Chance(60) ? pick.From(kWords) : pick.From(kNumbers);
  }
  if (pick.Chance(10)) {
    line += " # comment";
  }
  return line + (pick.Chance(10) ? "\r\n" : "\n");
}

// Flips, inserts, removes and repeats bytes.
void Mutate(Picker& pick, std::string& text) {
  for (uint32_t edits = pick.Below(4); edits > 0; --edits) {
    const size_t at = text.empty() ? 0 : pick.Below(static_cast<uint32_t>(text.size()));
    switch (pick.Below(4)) {
      case 0:
        if (!text.empty()) {
          text[at] = static_cast<char>(text[at] ^ (1 << pick.Below(8)));
        }
        break;
      case 1:
        text.insert(at, 1, static_cast<char>(pick.Below(256)));
        break;
      case 2:
        text.erase(at, pick.Below(8));
        break;
      default:
        text.insert(at, text.substr(at, pick.Below(40)));
        break;
    }
  }
}

}  // namespace

RenderCase MakeRenderCase(uint32_t seed) {
  Picker pick(seed);
  RenderCase run;
  for (uint32_t lines = pick.Below(12); lines > 0; --lines) {
    run.script += ScriptLine(pick);
  }
  if (pick.Chance(50)) {
    Mutate(pick, run.script);
  }
  if (pick.Chance(60)) {
    run.arguments = {"--input", "script.txt"};
  }
  for (uint32_t options = pick.Below(5); options > 0; --options) {
    std::string option = pick.From(kOptions);
    std::string value = OptionValue(pick, option);
    if (pick.Chance(10)) {
      Mutate(pick, option);
    }
    if (option.starts_with("--out=")) {
      run.arguments.push_back(option + value);
    } else if (pick.Chance(15) && option.starts_with("--")) {
      run.arguments.push_back(option + "=" + value);
    } else {
      run.arguments.push_back(option);
      if (pick.Chance(90)) {
        run.arguments.push_back(value);
      }
    }
  }
  // Last, so they win: a picture of a few pixels over a few frames.
  run.arguments.insert(
      run.arguments.end(),
      {"--size", std::to_string(1 + pick.Below(6)) + "x" + std::to_string(1 + pick.Below(6)),
       "--frames", std::to_string(pick.Below(5))});
  return run;
}

std::string Describe(const RenderCase& run) {
  std::string text = "drawing-render";
  const auto quoted = [](const std::string& value) {
    std::string shown = "'";
    for (const char c : value) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7F || c == '\'' || c == '\\') {
        static const char* const kHex = "0123456789abcdef";
        shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
      } else {
        shown += c;
      }
    }
    return shown + "'";
  };
  for (const std::string& argument : run.arguments) {
    text += " " + quoted(argument);
  }
  return text + " with script.txt " + quoted(run.script);
}

}  // namespace drawing::fuzz
