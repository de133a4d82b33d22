// `drawing.scr /s`: the program exactly as drawing.exe, once at a time, with
// the picture S saves going to the user's Pictures folder.
#pragma once

namespace drawing::scr {

// The exit status; 0 at once when another /s of this user's session runs.
int RunFullScreen();

}  // namespace drawing::scr
