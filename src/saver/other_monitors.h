// The screen saver on every monitor but the primary: each monitor its own
// drawing (the program itself, with its own swarm, attractor and canvas at
// that monitor's size) on a screen over that monitor, which the composition
// root makes. All of them run on the primary program's thread, one frame
// each whenever the primary begins one: its present paces them, and the
// windows they are shown in belong to the thread that pumps its messages.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "app/application.h"
#include "platform/platform.h"
#include "platform/windowing.h"

namespace drawing::saver {

// What one monitor's drawing runs on.
class MonitorScreen {
 public:
  virtual ~MonitorScreen() = default;
  // Whether the screen was made; a drawing starts only on an open one.
  virtual bool Open() const = 0;
  virtual platform::Platform GetPlatform() = 0;
  // At the start of each of the drawing's frames (the window's messages).
  virtual void BeginFrame() = 0;
  // Set once the drawing is to end: its window or monitor is gone, or the
  // saver ends.
  virtual const std::atomic<bool>* StopRequest() const = 0;
};

// Makes the screen over `monitor` (desktop coordinates).
using MakeMonitorScreen =
    std::function<std::unique_ptr<MonitorScreen>(const platform::Rect& monitor)>;

class OtherMonitors {
 public:
  // `errors` takes the drawings' lines (default: standard error).
  explicit OtherMonitors(MakeMonitorScreen makeScreen, std::ostream* errors = nullptr);
  ~OtherMonitors();
  OtherMonitors(const OtherMonitors&) = delete;
  OtherMonitors& operator=(const OtherMonitors&) = delete;

  // Called when the primary's frame `frame` begins. At frame 1, once the
  // primary's display mode is set (which may move the other monitors), the
  // monitors are planned on `windowing` and a drawing starts on each other
  // one; then every frame steps each drawing once. A drawing that ends is
  // shut down and its screen closed; the rest go on. Monitors plugged in
  // later stay as they are.
  void PrimaryFrameBegins(uint32_t frame, platform::Windowing& windowing);

  size_t Running() const { return running_.size(); }
  // The i-th running drawing, in the order the system listed the monitors.
  const app::Application& Drawing(size_t index) const { return *running_[index].application; }

 private:
  void Start(const std::vector<platform::Rect>& monitors);
  void Step();

  struct Run {
    std::unique_ptr<MonitorScreen> screen;
    // Declared after the screen, so it ends before the screen closes.
    std::unique_ptr<app::Application> application;
  };
  MakeMonitorScreen makeScreen_;
  std::ostream* errors_;
  std::vector<Run> running_;
};

}  // namespace drawing::saver
