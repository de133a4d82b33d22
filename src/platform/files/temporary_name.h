// Names of the temporary files a save writes beside its target: hidden, tied
// to the target and to the writing process (so a later save can tell a dead
// save's leftovers from a live one's), and never longer than a file name may
// be, whatever the target's length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace drawing::platform {

// Bytes a single file name may have (NAME_MAX on POSIX; Windows allows 255
// UTF-16 units, which never take fewer bytes).
inline constexpr size_t kFileNameLimit = 255;

// ".NAME.HASH.PROCESS-SERIAL.tmp", NAME cut (between characters) to fit the
// limit; HASH is of the whole NAME, so cut names of different targets differ.
std::string TemporaryName(const std::string& target, uint32_t process, uint32_t serial);

// The process that made `entry` when it is a temporary of `target`.
std::optional<uint32_t> TemporaryWriter(const std::string& entry, const std::string& target);

}  // namespace drawing::platform
