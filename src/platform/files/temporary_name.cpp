#include "platform/files/temporary_name.h"

#include <cstdio>

namespace drawing::platform {
namespace {

constexpr const char* kSuffix = ".tmp";

// FNV-1a: a stable 32-bit digest of the target's whole name.
std::string NameHash(const std::string& name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  }
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(hash));
  return text;
}

// The first `length` bytes of `name`, shortened so no UTF-8 character is cut.
std::string CutName(const std::string& name, size_t length) {
  if (length >= name.size()) {
    return name;
  }
  while (length > 0 && (static_cast<uint8_t>(name[length]) & 0xC0) == 0x80) {
    --length;
  }
  return name.substr(0, length);
}

bool ParseNumber(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 10) {
    return false;
  }
  uint64_t number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  if (number > UINT32_MAX) {
    return false;
  }
  value = static_cast<uint32_t>(number);
  return true;
}

}  // namespace

std::string TemporaryName(const std::string& target, uint32_t process, uint32_t serial) {
  const std::string tail = "." + NameHash(target) + "." + std::to_string(process) + "-" +
                           std::to_string(serial) + kSuffix;
  return "." + CutName(target, kFileNameLimit - 1 - tail.size()) + tail;
}

std::optional<uint32_t> TemporaryWriter(const std::string& entry, const std::string& target) {
  const std::string suffix = kSuffix;
  if (entry.size() < 1 + suffix.size() || entry[0] != '.' ||
      entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  const std::string body = entry.substr(1, entry.size() - 1 - suffix.size());
  // NAME . HASH . PROCESS - SERIAL
  const size_t numbers = body.rfind('.');
  if (numbers == std::string::npos || numbers < 9 || body[numbers - 9] != '.') {
    return std::nullopt;
  }
  const std::string name = body.substr(0, numbers - 9);
  const std::string hash = body.substr(numbers - 8, 8);
  const std::string writer = body.substr(numbers + 1);
  const size_t dash = writer.find('-');
  uint32_t process = 0;
  uint32_t serial = 0;
  if (dash == std::string::npos || !ParseNumber(writer.substr(0, dash), process) ||
      !ParseNumber(writer.substr(dash + 1), serial) || hash != NameHash(target) ||
      target.compare(0, name.size(), name) != 0) {
    return std::nullopt;
  }
  return process;
}

}  // namespace drawing::platform
