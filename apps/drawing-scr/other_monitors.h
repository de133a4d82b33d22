// The saver on every monitor but the primary: each its own drawing (swarm,
// attractor, canvas at that monitor's size) in a window over it, run on a
// thread of its own with the software device shown through GDI, as the
// preview is. Input on any of them ends the whole saver.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

#include "platform/handles.h"

namespace drawing::scr {

class OtherMonitors {
 public:
  // `endSaver` is set by input on any of the monitors and read by each
  // drawing once a frame; the primary's program reads it too.
  explicit OtherMonitors(std::atomic<bool>& endSaver) : endSaver_(endSaver) {}
  // Ends every drawing and waits for it.
  ~OtherMonitors();
  OtherMonitors(const OtherMonitors&) = delete;
  OtherMonitors& operator=(const OtherMonitors&) = delete;

  void Start(const std::vector<platform::Rect>& monitors);

 private:
  std::atomic<bool>& endSaver_;
  std::vector<std::thread> threads_;
};

}  // namespace drawing::scr
