// The screen window's procedure: activation drives DeviceActive, and the
// close command is swallowed so only the program's own exit conditions end it.
#include "display/display.h"

namespace drawing::display {

using platform::Wm;

intptr_t Display::ScreenWindowProc(platform::Hwnd window, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
  switch (static_cast<Wm>(message)) {
    case Wm::Activate:
      if ((wParam & 0xFFFFu) != 0) {
        state_.DeviceActive = true;
      } else {
        state_.DeviceActive = false;
        // Another window has the focus: let it have the mouse too.
        if (deactivationListener_) {
          deactivationListener_();
        }
      }
      return 0;
    case Wm::Paint:
      platform_.windowing.BeginPaint(window);
      platform_.windowing.EndPaint(window);
      return 1;
    case Wm::Close:
      return 0;
    case Wm::EraseBkgnd:
      return 1;
    case Wm::KeyUp:
    case Wm::SysKeyUp:
    case Wm::LButtonDown:
    case Wm::LButtonUp:
    case Wm::RButtonDown:
    case Wm::RButtonUp:
      return 0;
    default:
      return platform_.windowing.DefWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace drawing::display
