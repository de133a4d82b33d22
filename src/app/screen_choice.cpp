#include "app/screen_choice.h"

#include "display/screen_state.h"
#include "runtime/element_list.h"

namespace drawing::app {

static_assert(sizeof(display::ScreenModeInfo) == 8, "ModeList elements are four 16-bit fields");

void ChooseScreenSize(AppState& state) {
  state.ScreenWidth = 0;
  state.ScreenHeight = 0;
  const runtime::ListView<display::ScreenModeInfo> modes = ModeListOf(state);
  modes.Rewind();
  while (const display::ScreenModeInfo* mode = modes.Next()) {
    if (mode->width >= state.ScreenWidth) {
      state.ScreenWidth = mode->width;
      state.ScreenHeight = mode->height;
    }
  }
}

}  // namespace drawing::app
