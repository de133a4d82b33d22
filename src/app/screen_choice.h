// Choosing the screen size from the collected display modes.
#pragma once

#include "app/app_state.h"

namespace drawing::app {

// Sets ScreenWidth and ScreenHeight to the widest mode in ModeList; among
// modes of equal width the last one wins, with its height. Both stay 0 when
// the list is empty.
void ChooseScreenSize(AppState& state);

}  // namespace drawing::app
