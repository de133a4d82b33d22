#include "saver/monitor_plan.h"

#include <algorithm>

namespace drawing::saver {

namespace {

struct Listed {
  platform::Rect rect;
  bool primary = false;
};

struct Visit {
  platform::Windowing* windowing;
  std::vector<Listed> monitors;
};

bool Collect(void* context, platform::Hmonitor monitor, const platform::Rect& /*rect*/) {
  auto* visit = static_cast<Visit*>(context);
  platform::MonitorInfo info;
  // A monitor gone between the listing and the question is not covered.
  if (visit->windowing->GetMonitorInfo(monitor, &info)) {
    visit->monitors.push_back(
        Listed{info.rcMonitor, (info.dwFlags & platform::kMonitorInfoPrimary) != 0});
  }
  return true;
}

bool HasArea(const platform::Rect& rect) {
  return rect.right > rect.left && rect.bottom > rect.top;
}

bool Holds(const platform::Rect& rect, int32_t x, int32_t y) {
  return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

bool Same(const platform::Rect& a, const platform::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

std::optional<MonitorPlan> PlanMonitors(platform::Windowing& windowing) {
  Visit visit{&windowing, {}};
  if (!windowing.EnumDisplayMonitors(Collect, &visit)) {
    return std::nullopt;
  }
  std::erase_if(visit.monitors, [](const Listed& monitor) { return !HasArea(monitor.rect); });
  if (visit.monitors.empty()) {
    return std::nullopt;
  }
  auto primary = std::find_if(visit.monitors.begin(), visit.monitors.end(),
                              [](const Listed& monitor) { return monitor.primary; });
  if (primary == visit.monitors.end()) {
    primary = std::find_if(visit.monitors.begin(), visit.monitors.end(),
                           [](const Listed& monitor) { return Holds(monitor.rect, 0, 0); });
  }
  if (primary == visit.monitors.end()) {
    primary = visit.monitors.begin();
  }
  MonitorPlan plan{primary->rect, {}};
  for (auto monitor = visit.monitors.begin(); monitor != visit.monitors.end(); ++monitor) {
    const bool taken =
        monitor == primary || Same(monitor->rect, plan.primary) ||
        std::any_of(plan.others.begin(), plan.others.end(),
                    [&](const platform::Rect& other) { return Same(other, monitor->rect); });
    if (!taken) {
      plan.others.push_back(monitor->rect);
    }
  }
  return plan;
}

}  // namespace drawing::saver
