#include "platform/hosts/sdl/sdl_windowing.h"

#include <algorithm>

namespace drawing::platform::sdl {

namespace {

constexpr auto kClose = static_cast<uint32_t>(Wm::Close);
constexpr auto kPaint = static_cast<uint32_t>(Wm::Paint);

}  // namespace

SdlWindowing::SdlWindowing() : soft::SoftWindowing(static_cast<soft::WindowHost&>(*this)) {}

SdlWindowing::~SdlWindowing() {
  for (const Native& native : natives_) {
    SDL_DestroyWindow(native.sdl);
  }
  natives_.clear();
  if (video_.Held()) {
    SDL_ShowCursor(SDL_ENABLE);
  }
}

bool SdlWindowing::OpenWindow(Hwnd window, const soft::SoftWindow& record) {
  if (!video_.Take()) {
    failure_ = video_.Failure();
    return false;
  }
  SDL_Window* sdl =
      SDL_CreateWindow(record.title.c_str(), record.x, record.y, std::max(record.width, 1),
                       std::max(record.height, 1), SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (sdl == nullptr) {
    failure_ = std::string("SDL could not make a window: ") + SDL_GetError();
    return false;
  }
  natives_.push_back({window, sdl});
  return true;
}

SDL_Window* SdlWindowing::SdlWindow(Hwnd window) const {
  for (const Native& native : natives_) {
    if (native.window == window) {
      return native.sdl;
    }
  }
  return nullptr;
}

Hwnd SdlWindowing::FindSdl(uint32_t windowId) const {
  for (const Native& native : natives_) {
    if (SDL_GetWindowID(native.sdl) == windowId) {
      return native.window;
    }
  }
  return nullptr;
}

void SdlWindowing::TitleChanged(Hwnd window, const soft::SoftWindow& record) {
  SDL_SetWindowTitle(SdlWindow(window), record.title.c_str());
}

void SdlWindowing::Moved(Hwnd window, const soft::SoftWindow& record) {
  SDL_Window* sdl = SdlWindow(window);
  SDL_SetWindowPosition(sdl, record.x, record.y);
  SDL_SetWindowSize(sdl, std::max(record.width, 1), std::max(record.height, 1));
}

void SdlWindowing::Shown(Hwnd window, const soft::SoftWindow& /*record*/, ShowCommand command) {
  SDL_Window* sdl = SdlWindow(window);
  switch (command) {
    case ShowCommand::Hide:
      SDL_SetWindowFullscreen(sdl, 0);
      SDL_HideWindow(sdl);
      break;
    case ShowCommand::ShowMaximized:
      SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN);
      SDL_ShowWindow(sdl);
      SDL_RaiseWindow(sdl);
      break;
    case ShowCommand::ShowNormal:
      SDL_ShowWindow(sdl);
      break;
  }
}

void SdlWindowing::CursorShown(bool shown) {
  if (video_.Held()) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
  }
}

void SdlWindowing::CursorClipped(const Rect* rect) {
  SDL_Rect area{};
  if (rect != nullptr) {
    area = {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
  }
  for (const Native& native : natives_) {
    SDL_SetWindowMouseRect(native.sdl, rect != nullptr ? &area : nullptr);
  }
}

void SdlWindowing::AddEventSink(SdlEventSink* sink) {
  sinks_.push_back(sink);
}

bool SdlWindowing::Poll() {
  SDL_Event event;
  if (!video_.Held() || SDL_PollEvent(&event) == 0) {
    return false;
  }
  for (SdlEventSink* sink : sinks_) {
    sink->OnSdlEvent(event);
  }
  Translate(event);
  return true;
}

void SdlWindowing::Translate(const SDL_Event& event) {
  if (natives_.empty()) {
    return;
  }
  if (event.type == SDL_QUIT) {
    // The desktop asks the program to end: the screen window is told to close.
    PostMessage(natives_.front().window, kClose);
    return;
  }
  if (event.type != SDL_WINDOWEVENT) {
    return;
  }
  const Hwnd window = FindSdl(event.window.windowID);
  if (window == nullptr) {
    return;
  }
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED:
      PostActivation(true, window);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
      PostActivation(false, window);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      PostMessage(window, kClose);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      PostMessage(window, kPaint);
      break;
    default:
      break;
  }
}

}  // namespace drawing::platform::sdl
