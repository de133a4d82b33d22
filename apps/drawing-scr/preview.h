// `drawing.scr /p <window>`: the live preview inside that window.
#pragma once

#include <cstdint>

namespace drawing::scr {

// The exit status: 0 once the window is gone.
int RunPreview(uintptr_t parent);

}  // namespace drawing::scr
