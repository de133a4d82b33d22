// The screen saver's settings dialog: a small window with the text it is
// given and OK. It reads and stores nothing.
#pragma once

#include <cstdint>
#include <string>

namespace drawing::platform::win32 {

// Shows `text` under `title` (both UTF-8), owned by `owner` (0: none), and
// returns when the user closes it.
void ShowSettingsDialog(uintptr_t owner, const std::string& title, const std::string& text);

}  // namespace drawing::platform::win32
