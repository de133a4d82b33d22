// Which monitors the screen saver covers, and how: the primary one gets the
// program itself (full screen, exclusive Direct3D 9), every other monitor a
// drawing of its own in a window over it. Asked of the window system's port,
// so the same rules run against the real desktop and the emulated one.
#pragma once

#include <optional>
#include <vector>

#include "platform/windowing.h"

namespace drawing::saver {

struct MonitorPlan {
  platform::Rect primary;
  // In the order the system lists them; desktop coordinates (negative left
  // of or above the primary).
  std::vector<platform::Rect> others;
};

// The primary is the monitor flagged so, else the one holding 0,0, else the
// first. Monitors with no area are left out, and so is a monitor whose
// rectangle repeats one already taken: a mirrored display shows that
// picture anyway. None when the system lists no usable monitor.
std::optional<MonitorPlan> PlanMonitors(platform::Windowing& windowing);

}  // namespace drawing::saver
