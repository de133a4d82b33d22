// The user's Pictures folder (the known folder, wherever the user moved it),
// where the screen saver saves its picture: a saver runs with the system
// folder as its working directory, where a user cannot write.
#pragma once

#include <optional>
#include <string>

namespace drawing::platform::win32 {

// The folder's full path, made if it did not exist; nothing when Windows
// cannot name or make it.
std::optional<std::wstring> PicturesFolder();

}  // namespace drawing::platform::win32
