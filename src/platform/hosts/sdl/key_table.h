// SDL scancodes to DirectInput key codes, so the keyboard device can fill the
// 256-byte state the input subsystem reads with the codes it expects.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>

namespace drawing::platform::sdl {

struct KeyMapping {
  SDL_Scancode scancode;
  uint8_t code;  // DirectInput key code (DIK_*)
};

// Every key of a standard keyboard (and the media keys SDL knows) with its
// DirectInput code. Two scancodes share a code only where SDL has two names
// for one physical key.
std::span<const KeyMapping> KeyMappings();

// 0 for a scancode that has no DirectInput code.
uint8_t DirectInputKeyCode(SDL_Scancode scancode);

}  // namespace drawing::platform::sdl
