// `drawing.scr /s`: the program exactly as drawing.exe on the primary
// monitor, once at a time, with the picture S saves going to the user's
// Pictures folder; every other monitor a drawing of its own in a window
// over it (saver::OtherMonitors).
#pragma once

namespace drawing::scr {

// The exit status; 0 at once when another /s of this user's session runs.
int RunFullScreen();

}  // namespace drawing::scr
