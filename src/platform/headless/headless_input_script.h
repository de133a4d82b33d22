// Input scripts for the headless host: a text timeline of keyboard, mouse and
// focus events, one per line:
//
//   <frame> keydown <code>        key code 0..255 (decimal or 0x hex)
//   <frame> keyup <code>
//   <frame> move <dx> <dy>        relative motion, positive right and down
//   <frame> wheel <dz>
//   <frame> press <button>        button 1 left, 2 right, 3 middle, 4 fourth
//   <frame> release <button>
//   <frame> focus on|off          the screen window gains or loses the focus
//
// Blank lines are skipped and '#' starts a comment. Events of one frame are
// applied in the order written.
#pragma once

#include <string_view>

#include "platform/headless/headless_input.h"

namespace drawing::platform::headless {

// Adds the script's events to the timeline of `input`. Returns 0 on success,
// otherwise the number (from 1) of the first line that is not understood, in
// which case nothing was added.
int LoadInputScript(std::string_view text, HeadlessInput& input);

}  // namespace drawing::platform::headless
