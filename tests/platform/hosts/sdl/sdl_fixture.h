// Shared set-up for the SDL host tests: SDL's dummy video driver (no screen
// needed; windows, a software renderer and the event queue all work), a
// window procedure that records what it is sent, and helpers that put
// synthetic events on SDL's queue.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/hosts/sdl/sdl_windowing.h"

namespace drawing::platform::sdl::testing {

class SdlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  }
  void TearDown() override { SDL_Quit(); }
};

struct ProcedureLog {
  struct Call {
    uint32_t message;
    uintptr_t wParam;
  };
  std::vector<Call> calls;
  intptr_t result = 0;

  static intptr_t Procedure(void* context, Hwnd /*window*/, uint32_t message, uintptr_t wParam,
                            intptr_t /*lParam*/) {
    auto* log = static_cast<ProcedureLog*>(context);
    log->calls.push_back({message, wParam});
    return log->result;
  }
};

// Registers a class whose procedure writes to `log` and creates its window.
inline Hwnd MakeWindow(SdlWindowing& windowing, ProcedureLog& log) {
  WndClassEx windowClass;
  windowClass.windowProc = &ProcedureLog::Procedure;
  windowClass.context = &log;
  windowClass.className = "test class";
  if (!windowing.RegisterClassEx(windowClass)) {
    return nullptr;
  }
  return windowing.CreateWindowEx(0, "test class", "", 0, 0, 0, 1, 1, nullptr);
}

// Takes every message off the queue and hands it to its window procedure.
inline int PumpAll(SdlWindowing& windowing) {
  int count = 0;
  Msg msg;
  while (windowing.PeekMessage(&msg)) {
    windowing.TranslateMessage(msg);
    windowing.DispatchMessage(msg);
    ++count;
  }
  return count;
}

inline void PushWindowEvent(SDL_Window* window, SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SDL_GetWindowID(window);
  event.window.event = static_cast<Uint8>(id);
  SDL_PushEvent(&event);
}

inline void PushKey(SDL_Scancode scancode, bool down, bool repeat = false) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat ? 1 : 0;
  event.key.keysym.scancode = scancode;
  SDL_PushEvent(&event);
}

inline void PushMotion(int32_t dx, int32_t dy) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.xrel = dx;
  event.motion.yrel = dy;
  SDL_PushEvent(&event);
}

inline void PushButton(uint8_t button, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&event);
}

inline void PushType(uint32_t type) {
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

}  // namespace drawing::platform::sdl::testing
