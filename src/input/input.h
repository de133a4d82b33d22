// The input subsystem as the application owns it: the shared DirectInput
// object, the keyboard and the mouse, wired to one screen.
#pragma once

#include "display/screen_focus.h"
#include "input/direct_input_holder.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "platform/direct_input.h"
#include "platform/windowing.h"
#include "runtime/main_heap.h"

namespace drawing::input {

struct Input {
  Input(runtime::MainHeap& heap, platform::DirectInputModule& module,
        platform::Windowing& windowing, const display::ScreenFocus& screen)
      : directInput(module, windowing.GetModuleHandle()),
        keyboard(heap, directInput, screen),
        mouse(directInput, screen, windowing) {}

  DirectInputHolder directInput;
  Keyboard keyboard;
  Mouse mouse;
};

}  // namespace drawing::input
