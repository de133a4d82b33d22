#include "platform/headless/headless_windowing.h"

namespace drawing::platform::headless {

namespace {

constexpr auto kActivate = static_cast<uint32_t>(Wm::Activate);

uintptr_t ActivationParam(WindowActivation state) {
  return static_cast<uintptr_t>(state);
}

Hwnd HandleOf(const void* record) {
  return reinterpret_cast<Hwnd>(const_cast<void*>(record));
}

}  // namespace

HeadlessWindowing::HeadlessWindowing(WindowingConfig config) : config_(config) {}

HeadlessWindowing::~HeadlessWindowing() = default;

Hinstance HeadlessWindowing::GetModuleHandle() {
  return reinterpret_cast<Hinstance>(&moduleTag_);
}

Hicon HeadlessWindowing::LoadIcon(Hinstance instance, int resource) {
  if (!config_.iconAvailable || instance != GetModuleHandle() || resource != 1) {
    return nullptr;
  }
  return reinterpret_cast<Hicon>(&iconTag_);
}

bool HeadlessWindowing::RegisterClassEx(const WndClassEx& windowClass) {
  if (config_.failRegisterClass || windowClass.className == nullptr ||
      windowClass.windowProc == nullptr) {
    return false;
  }
  for (const auto& known : classes_) {
    if (known->name == windowClass.className) {
      return false;
    }
  }
  classes_.push_back(
      std::make_unique<WindowClass>(WindowClass{windowClass.className, windowClass}));
  classes_.back()->registration.className = classes_.back()->name.c_str();
  return true;
}

Hwnd HeadlessWindowing::CreateWindowEx(uint32_t exStyle, const char* className, const char* title,
                                       uint32_t style, int x, int y, int width, int height,
                                       Hinstance /*instance*/) {
  if (config_.failCreateWindow || className == nullptr) {
    return nullptr;
  }
  for (const auto& known : classes_) {
    if (known->name == className) {
      auto record = std::make_unique<WindowRecord>();
      record->window = HeadlessWindow{known->name,
                                      title != nullptr ? title : "",
                                      exStyle,
                                      style,
                                      x,
                                      y,
                                      width,
                                      height,
                                      false,
                                      false,
                                      0};
      record->windowClass = known.get();
      windows_.push_back(std::move(record));
      return HandleOf(windows_.back().get());
    }
  }
  return nullptr;
}

HeadlessWindowing::WindowRecord* HeadlessWindowing::Find(Hwnd window) const {
  for (const auto& record : windows_) {
    if (HandleOf(record.get()) == window) {
      return record.get();
    }
  }
  return nullptr;
}

bool HeadlessWindowing::SetWindowText(Hwnd window, const char* text) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  record->window.title = text != nullptr ? text : "";
  return true;
}

bool HeadlessWindowing::MoveWindow(Hwnd window, int x, int y, int width, int height,
                                   bool /*repaint*/) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  record->window.x = x;
  record->window.y = y;
  record->window.width = width;
  record->window.height = height;
  ++record->window.moveCalls;
  return true;
}

bool HeadlessWindowing::ShowWindow(Hwnd window, ShowCommand command) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  const bool wasVisible = record->window.visible;
  if (command == ShowCommand::Hide) {
    record->window.visible = false;
    if (active_ == window) {
      Deactivate(window);
    }
    return wasVisible;
  }
  record->window.visible = true;
  record->window.maximized = command == ShowCommand::ShowMaximized;
  if (active_ != window) {
    Activate(window);
  }
  return wasVisible;
}

void HeadlessWindowing::Activate(Hwnd window) {
  if (active_ != nullptr) {
    Deactivate(active_);
  }
  active_ = window;
  lastActive_ = window;
  Deliver(Msg{window, kActivate, ActivationParam(WindowActivation::Active), 0});
  if (activationListener_) {
    activationListener_(true);
  }
}

void HeadlessWindowing::Deactivate(Hwnd window) {
  active_ = nullptr;
  Deliver(Msg{window, kActivate, ActivationParam(WindowActivation::Inactive), 0});
  if (activationListener_) {
    activationListener_(false);
  }
}

int HeadlessWindowing::ShowCursor(bool show) {
  cursorCounter_ += show ? 1 : -1;
  return cursorCounter_;
}

bool HeadlessWindowing::ClipCursor(const Rect* rect) {
  ++clipCursorCalls_;
  if (rect == nullptr) {
    cursorClip_.reset();
  } else {
    cursorClip_ = *rect;
  }
  return true;
}

bool HeadlessWindowing::PeekMessage(Msg* msg) {
  if (msg == nullptr || queue_.empty()) {
    return false;
  }
  *msg = queue_.front();
  queue_.pop_front();
  return true;
}

bool HeadlessWindowing::TranslateMessage(const Msg& /*msg*/) {
  ++translateCalls_;
  return false;
}

intptr_t HeadlessWindowing::DispatchMessage(const Msg& msg) {
  return Deliver(msg);
}

intptr_t HeadlessWindowing::Deliver(const Msg& msg) {
  const WindowRecord* record = Find(msg.hwnd);
  if (record == nullptr) {
    return 0;
  }
  delivered_.push_back(msg);
  const WndClassEx& registration = record->windowClass->registration;
  return registration.windowProc(registration.context, msg.hwnd, msg.message, msg.wParam,
                                 msg.lParam);
}

intptr_t HeadlessWindowing::DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam,
                                          intptr_t lParam) {
  defaulted_.push_back(Msg{window, message, wParam, lParam});
  return 0;
}

void HeadlessWindowing::BeginPaint(Hwnd /*window*/) {
  ++beginPaintCalls_;
}

void HeadlessWindowing::EndPaint(Hwnd /*window*/) {
  ++endPaintCalls_;
}

void HeadlessWindowing::PostMessage(Hwnd window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) {
  queue_.push_back(Msg{window, message, wParam, lParam});
}

void HeadlessWindowing::PostActivation(bool active) {
  Hwnd target = lastActive_;
  if (target == nullptr && !windows_.empty()) {
    target = HandleOf(windows_.front().get());
  }
  if (target == nullptr) {
    return;
  }
  active_ = active ? target : nullptr;
  lastActive_ = target;
  const WindowActivation state = active ? WindowActivation::Active : WindowActivation::Inactive;
  PostMessage(target, kActivate, ActivationParam(state), 0);
}

void HeadlessWindowing::SetActivationListener(std::function<void(bool active)> listener) {
  activationListener_ = std::move(listener);
}

const HeadlessWindow* HeadlessWindowing::Window(Hwnd window) const {
  const WindowRecord* record = Find(window);
  return record != nullptr ? &record->window : nullptr;
}

std::vector<Hwnd> HeadlessWindowing::Windows() const {
  std::vector<Hwnd> handles;
  for (const auto& record : windows_) {
    handles.push_back(HandleOf(record.get()));
  }
  return handles;
}

}  // namespace drawing::platform::headless
