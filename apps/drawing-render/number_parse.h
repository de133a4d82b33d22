// Strict decimal parsing for command lines and scripts: the whole text must be
// a number (optional sign, digits), nothing before or after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace drawing::app {

// The value of `text` if it is a decimal integer within [low, high].
std::optional<int64_t> ParseInteger(std::string_view text, int64_t low, int64_t high);

}  // namespace drawing::app
