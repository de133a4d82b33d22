// File names on the command line are UTF-8 on every system (drawing-render's
// Windows entry point converts the wide command line), so a path is made
// from them as UTF-8, never through the ANSI code page.
#pragma once

#include <filesystem>
#include <string>

namespace drawing::render {

inline std::filesystem::path PathFromUtf8(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace drawing::render
