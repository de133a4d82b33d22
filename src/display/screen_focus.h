// What the input subsystem may read of the screen: the window its devices
// cooperate with and whether that window is active. Display answers; an
// input test stands in for it.
#pragma once

#include "platform/handles.h"

namespace drawing::display {

class ScreenFocus {
 public:
  // Null until the screen is open.
  virtual platform::Hwnd ScreenWindow() const = 0;
  // The screen window is active: the device may be presented.
  virtual bool ScreenActive() const = 0;

 protected:
  ~ScreenFocus() = default;
};

}  // namespace drawing::display
