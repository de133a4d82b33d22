// Hosted mode: the program drawn in an X window another program owns, run
// again at the new size whenever the window's size changes, until a signal
// or the end of the window.
#pragma once

#include <cstdint>
#include <optional>

namespace drawing::launch {

// `windowId`: the window to draw in; none: the root window. The exit status:
// 0 after a signal or the window's end, 1 when the window cannot be used.
int RunHosted(std::optional<uint32_t> windowId);

}  // namespace drawing::launch
