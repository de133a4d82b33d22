#include "number_parse.h"

#include <charconv>

namespace drawing::app {

std::optional<int64_t> ParseInteger(std::string_view text, int64_t low, int64_t high) {
  // from_chars takes no '+'; accept one for symmetry with '-'.
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
    text.remove_prefix(1);
  }
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [next, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || next != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

}  // namespace drawing::app
