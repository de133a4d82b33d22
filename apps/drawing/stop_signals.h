// SIGINT, SIGTERM and SIGHUP (the terminal closing) all ask the program to
// end in order, with status 0. A handler can reach nothing but lock-free
// flags; the application looks at the stop flag once per frame. While a
// hosted run starts (a screen-sized canvas and buffers take seconds at
// 16384x16384) there is no frame to look, and nothing to keep: a signal
// then ends the program at once, with status 0.
#pragma once

#include <atomic>

namespace drawing::launch {

// Set by the handlers; the hosted run may set and clear it too.
std::atomic<bool>& StopRequest();
// Set only by the handlers: a signal came, as opposed to a host's reason.
bool StopSignalled();
void InstallStopHandlers();
// Whether a signal ends the program at once (true) or asks the next frame.
void EndAtOnceOnSignal(bool atOnce);

}  // namespace drawing::launch
