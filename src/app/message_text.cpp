#include "app/message_text.h"

#include <cstdint>
#include <cstdio>

namespace drawing::app {
namespace {

// The length of the UTF-8 character of printable text starting at `at`, or
// 0 for a control character (C0, DEL, C1) or a byte that starts no valid one.
size_t PrintableLength(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) {
    return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  }
  const size_t length = lead >= 0xF0 && lead <= 0xF4  ? 4
                        : lead >= 0xE0                ? 3
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                                                      : 0;
  if (length == 0 || at + length > text.size()) {
    return 0;
  }
  uint32_t point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      return 0;
    }
    point = (point << 6) | (byte(at + i) & 0x3F);
  }
  const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
  const bool c1 = point >= 0x80 && point <= 0x9F;
  const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
  return overlong || c1 || surrogate || point > 0x10FFFF ? 0 : length;
}

std::string Escape(uint8_t byte) {
  switch (byte) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default: {
      char text[5];
      std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned>(byte));
      return text;
    }
  }
}

}  // namespace

std::string MessageText(std::string_view value) {
  std::string shown;
  size_t at = 0;
  while (at < value.size() && at < kShownValueLimit) {
    const size_t length = PrintableLength(value, at);
    if (length == 0) {
      shown += Escape(static_cast<uint8_t>(value[at]));
      ++at;
    } else {
      shown.append(value.substr(at, length));
      at += length;
    }
  }
  if (at < value.size()) {
    shown += "... (" + std::to_string(value.size()) + " bytes)";
  }
  return shown;
}

std::string Quoted(std::string_view value) {
  return "'" + MessageText(value) + "'";
}

}  // namespace drawing::app
