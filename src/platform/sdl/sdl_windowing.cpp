#include "platform/sdl/sdl_windowing.h"

#include <algorithm>

namespace drawing::platform::sdl {

struct SdlWindowing::Window {
  SDL_Window* sdl = nullptr;
  WindowProc procedure = nullptr;
  void* context = nullptr;
};

namespace {

Msg Message(Hwnd window, Wm message, uintptr_t wParam = 0) {
  return {window, static_cast<uint32_t>(message), wParam, 0};
}

uintptr_t Activation(WindowActivation activation) {
  return static_cast<uintptr_t>(activation);
}

}  // namespace

SdlWindowing::SdlWindowing() = default;

SdlWindowing::~SdlWindowing() {
  for (const auto& window : windows_) {
    SDL_DestroyWindow(window->sdl);
  }
  windows_.clear();
  if (video_.Held()) {
    SDL_ShowCursor(SDL_ENABLE);
  }
}

Hinstance SdlWindowing::GetModuleHandle() {
  // Any stable non-null value identifies the program.
  return reinterpret_cast<Hinstance>(this);
}

Hicon SdlWindowing::LoadIcon(Hinstance /*instance*/, int /*resource*/) {
  return nullptr;
}

bool SdlWindowing::RegisterClassEx(const WndClassEx& windowClass) {
  if (windowClass.className == nullptr || windowClass.windowProc == nullptr ||
      classes_.contains(windowClass.className)) {
    return false;
  }
  WndClassEx stored = windowClass;
  stored.className = nullptr;  // the map's key keeps the name
  classes_.emplace(windowClass.className, stored);
  return true;
}

Hwnd SdlWindowing::CreateWindowEx(uint32_t /*exStyle*/, const char* className, const char* title,
                                  uint32_t /*style*/, int x, int y, int width, int height,
                                  Hinstance /*instance*/) {
  if (className == nullptr) {
    return nullptr;
  }
  const auto found = classes_.find(className);
  if (found == classes_.end() || !video_.Take()) {
    return nullptr;
  }
  SDL_Window* sdl =
      SDL_CreateWindow(title != nullptr ? title : "", x, y, std::max(width, 1), std::max(height, 1),
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (sdl == nullptr) {
    return nullptr;
  }
  auto window = std::make_unique<Window>();
  window->sdl = sdl;
  window->procedure = found->second.windowProc;
  window->context = found->second.context;
  windows_.push_back(std::move(window));
  return reinterpret_cast<Hwnd>(windows_.back().get());
}

SdlWindowing::Window* SdlWindowing::Find(Hwnd window) const {
  for (const auto& owned : windows_) {
    if (reinterpret_cast<Hwnd>(owned.get()) == window) {
      return owned.get();
    }
  }
  return nullptr;
}

SdlWindowing::Window* SdlWindowing::FindSdl(uint32_t windowId) const {
  for (const auto& owned : windows_) {
    if (SDL_GetWindowID(owned->sdl) == windowId) {
      return owned.get();
    }
  }
  return nullptr;
}

SDL_Window* SdlWindowing::SdlWindow(Hwnd window) const {
  const Window* found = Find(window);
  return found != nullptr ? found->sdl : nullptr;
}

bool SdlWindowing::SetWindowText(Hwnd window, const char* text) {
  SDL_Window* sdl = SdlWindow(window);
  if (sdl == nullptr) {
    return false;
  }
  SDL_SetWindowTitle(sdl, text != nullptr ? text : "");
  return true;
}

bool SdlWindowing::MoveWindow(Hwnd window, int x, int y, int width, int height, bool /*repaint*/) {
  SDL_Window* sdl = SdlWindow(window);
  if (sdl == nullptr) {
    return false;
  }
  SDL_SetWindowPosition(sdl, x, y);
  SDL_SetWindowSize(sdl, std::max(width, 1), std::max(height, 1));
  return true;
}

bool SdlWindowing::ShowWindow(Hwnd window, ShowCommand command) {
  SDL_Window* sdl = SdlWindow(window);
  if (sdl == nullptr) {
    return false;
  }
  const bool wasVisible = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) != 0;
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
  return wasVisible;
}

int SdlWindowing::ShowCursor(bool show) {
  cursorCounter_ += show ? 1 : -1;
  if (video_.Held()) {
    SDL_ShowCursor(cursorCounter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
  }
  return cursorCounter_;
}

bool SdlWindowing::ClipCursor(const Rect* rect) {
  clipped_ = rect != nullptr;
  if (clipped_) {
    clip_ = *rect;
  }
  const SDL_Rect area{clip_.left, clip_.top, clip_.right - clip_.left, clip_.bottom - clip_.top};
  for (const auto& owned : windows_) {
    SDL_SetWindowMouseRect(owned->sdl, clipped_ ? &area : nullptr);
  }
  return true;
}

void SdlWindowing::AddEventSink(SdlEventSink* sink) {
  sinks_.push_back(sink);
}

void SdlWindowing::Translate(const SDL_Event& event) {
  if (windows_.empty()) {
    return;
  }
  if (event.type == SDL_QUIT) {
    // The desktop asks the program to end: the screen window is told to close.
    pending_.push_back(Message(reinterpret_cast<Hwnd>(windows_.front().get()), Wm::Close));
    return;
  }
  if (event.type != SDL_WINDOWEVENT) {
    return;
  }
  const Window* window = FindSdl(event.window.windowID);
  if (window == nullptr) {
    return;
  }
  const auto hwnd = reinterpret_cast<Hwnd>(const_cast<Window*>(window));
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_RESTORED:
      pending_.push_back(Message(hwnd, Wm::Activate, Activation(WindowActivation::Active)));
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_MINIMIZED:
      pending_.push_back(Message(hwnd, Wm::Activate, Activation(WindowActivation::Inactive)));
      break;
    case SDL_WINDOWEVENT_CLOSE:
      pending_.push_back(Message(hwnd, Wm::Close));
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      pending_.push_back(Message(hwnd, Wm::Paint));
      break;
    default:
      break;
  }
}

bool SdlWindowing::PeekMessage(Msg* msg) {
  while (pending_.empty()) {
    SDL_Event event;
    if (!video_.Held() || SDL_PollEvent(&event) == 0) {
      return false;
    }
    for (SdlEventSink* sink : sinks_) {
      sink->OnSdlEvent(event);
    }
    Translate(event);
  }
  *msg = pending_.front();
  pending_.pop_front();
  return true;
}

bool SdlWindowing::TranslateMessage(const Msg& /*msg*/) {
  return false;
}

intptr_t SdlWindowing::DispatchMessage(const Msg& msg) {
  const Window* window = Find(msg.hwnd);
  if (window == nullptr) {
    return 0;
  }
  return window->procedure(window->context, msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

intptr_t SdlWindowing::DefWindowProc(Hwnd /*window*/, uint32_t /*message*/, uintptr_t /*wParam*/,
                                     intptr_t /*lParam*/) {
  return 0;
}

void SdlWindowing::BeginPaint(Hwnd /*window*/) {}

void SdlWindowing::EndPaint(Hwnd /*window*/) {}

}  // namespace drawing::platform::sdl
