// SIGINT, SIGTERM and SIGHUP (the terminal closing) all ask the program to
// end in order, with status 0. A handler can reach nothing but lock-free
// flags; the application looks at the stop flag once per frame.
#pragma once

#include <atomic>

namespace drawing::launch {

// Set by the handlers; the hosted run may set and clear it too.
std::atomic<bool>& StopRequest();
// Set only by the handlers: a signal came, as opposed to a host's reason.
bool StopSignalled();
void InstallStopHandlers();

}  // namespace drawing::launch
