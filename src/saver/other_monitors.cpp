#include "saver/other_monitors.h"

#include <optional>
#include <utility>

#include "saver/monitor_plan.h"

namespace drawing::saver {

namespace {

// The program seeds itself from the thread and the tick count, which every
// drawing started in the same frame on this thread shares; each monitor's
// number spreads them, so no two monitors draw the same picture.
uint32_t SeedFor(platform::System& system, size_t monitor) {
  constexpr uint32_t kSpread = 0x9E3779B9u;
  return system.GetCurrentThreadId() ^ system.GetTickCount() ^
         (static_cast<uint32_t>(monitor + 1) * kSpread);
}

}  // namespace

OtherMonitors::OtherMonitors(MakeMonitorScreen makeScreen, std::ostream* errors)
    : makeScreen_(std::move(makeScreen)), errors_(errors) {}

OtherMonitors::~OtherMonitors() = default;

void OtherMonitors::PrimaryFrameBegins(uint32_t frame, platform::Windowing& windowing) {
  if (frame == 1) {
    const std::optional<MonitorPlan> plan = PlanMonitors(windowing);
    if (plan.has_value()) {
      Start(plan->others);
    }
  }
  Step();
}

void OtherMonitors::Start(const std::vector<platform::Rect>& monitors) {
  for (const platform::Rect& monitor : monitors) {
    std::unique_ptr<MonitorScreen> screen = makeScreen_(monitor);
    if (screen == nullptr || !screen->Open()) {
      continue;  // this monitor stays as it is; the others are covered
    }
    MonitorScreen* shown = screen.get();
    const platform::Platform ports = shown->GetPlatform();
    app::ApplicationOptions options;
    options.seed = SeedFor(ports.system, running_.size());
    options.stopRequest = shown->StopRequest();
    options.beginFrame = [shown](uint32_t /*frame*/) { shown->BeginFrame(); };
    options.errors = errors_;
    auto application = std::make_unique<app::Application>(ports, std::move(options));
    if (application->StartUp()) {
      running_.push_back(Run{std::move(screen), std::move(application)});
    }
  }
}

void OtherMonitors::Step() {
  std::erase_if(running_, [](Run& run) {
    if (run.application->RunFrame()) {
      return false;
    }
    run.application->Shutdown();
    return true;
  });
}

}  // namespace drawing::saver
