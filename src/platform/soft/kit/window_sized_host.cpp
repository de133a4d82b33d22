#include "platform/soft/kit/window_sized_host.h"

namespace drawing::platform::soft {

bool WindowSizedHost::Mode(Format format, uint32_t index, DisplayMode* mode) {
  if (!IsUsableFormat(format) || index != 0) {
    return false;
  }
  *mode = WindowMode();
  mode->format = format;
  return true;
}

}  // namespace drawing::platform::soft
