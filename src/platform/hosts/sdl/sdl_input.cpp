#include "platform/hosts/sdl/sdl_input.h"

#include "platform/hosts/sdl/key_table.h"

namespace drawing::platform::sdl {

namespace {

constexpr int32_t kWheelDelta = 120;

// DirectInput's button numbers: left, right, middle, fourth; 0 for others.
int32_t ButtonNumber(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 3;
    case SDL_BUTTON_X1:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

SdlInput::SdlInput() : soft::SoftInput(static_cast<soft::InputHost&>(*this), /*focused=*/false) {}

bool SdlInput::OpenInput() {
  return video_.Take();
}

void SdlInput::CloseInput() {
  video_.Return();
}

void SdlInput::MouseAcquired(bool acquired) {
  if (video_.Held()) {
    SDL_SetRelativeMouseMode(acquired ? SDL_TRUE : SDL_FALSE);
  }
}

void SdlInput::OnFocus(bool focused) {
  SetFocus(focused);
  if (!focused) {
    ForgetHeld();
  }
}

void SdlInput::OnKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) {
    return;
  }
  const uint8_t code = DirectInputKeyCode(key.keysym.scancode);
  if (code == 0) {
    return;
  }
  if (key.state == SDL_PRESSED) {
    KeyDown(code);
  } else {
    KeyUp(code);
  }
}

void SdlInput::OnButton(const SDL_MouseButtonEvent& button) {
  const int32_t number = ButtonNumber(button.button);
  if (number != 0) {
    SetTimeStamp(button.timestamp);
    Button(number, button.state == SDL_PRESSED);
  }
}

void SdlInput::OnSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          OnFocus(true);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
          OnFocus(false);
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      OnKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      SetTimeStamp(event.motion.timestamp);
      Move(event.motion.xrel, event.motion.yrel);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      OnButton(event.button);
      break;
    case SDL_MOUSEWHEEL: {
      const int32_t sign = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
      SetTimeStamp(event.wheel.timestamp);
      Wheel(sign * event.wheel.y * kWheelDelta);
      break;
    }
    default:
      break;
  }
}

}  // namespace drawing::platform::sdl
