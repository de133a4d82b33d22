// Values a user gave, made fit to repeat in a one-line message: control
// characters (escape sequences, line breaks) and bytes that are not UTF-8
// are shown as escapes, and long values are cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drawing::app {

// Bytes of a value shown before it is cut.
inline constexpr size_t kShownValueLimit = 256;

// `value` with \n, \r, \t and \xNN for other control characters and
// stray bytes; cut after kShownValueLimit bytes with "... (N bytes)".
std::string MessageText(std::string_view value);

// MessageText in single quotes.
std::string Quoted(std::string_view value);

}  // namespace drawing::app
