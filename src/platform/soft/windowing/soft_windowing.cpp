#include "platform/soft/windowing/soft_windowing.h"

#include "platform/soft/kit/emulation_observer.h"

namespace drawing::platform::soft {

namespace {

constexpr auto kActivate = static_cast<uint32_t>(Wm::Activate);

uintptr_t ActivationParam(bool active) {
  return static_cast<uintptr_t>(active ? WindowActivation::Active : WindowActivation::Inactive);
}

Hwnd HandleOf(const void* record) {
  return reinterpret_cast<Hwnd>(const_cast<void*>(record));
}

}  // namespace

SoftWindowing::SoftWindowing(WindowHost& host) : host_(host) {}

SoftWindowing::~SoftWindowing() = default;

Hinstance SoftWindowing::GetModuleHandle() {
  return reinterpret_cast<Hinstance>(&moduleTag_);
}

Hicon SoftWindowing::LoadIcon(Hinstance instance, int resource) {
  if (instance != GetModuleHandle() || !host_.HasIcon(resource)) {
    return nullptr;
  }
  return reinterpret_cast<Hicon>(&iconTag_);
}

bool SoftWindowing::RegisterClassEx(const WndClassEx& windowClass) {
  if (windowClass.className == nullptr || windowClass.windowProc == nullptr ||
      host_.RegisterClassFails()) {
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

Hwnd SoftWindowing::CreateWindowEx(uint32_t exStyle, const char* className, const char* title,
                                   uint32_t style, int x, int y, int width, int height,
                                   Hinstance /*instance*/) {
  if (className == nullptr) {
    return nullptr;
  }
  for (const auto& known : classes_) {
    if (known->name != className) {
      continue;
    }
    auto record = std::make_unique<WindowRecord>();
    record->window.className = known->name;
    record->window.title = title != nullptr ? title : "";
    record->window.exStyle = exStyle;
    record->window.style = style;
    record->window.x = x;
    record->window.y = y;
    record->window.width = width;
    record->window.height = height;
    record->windowClass = known.get();
    const Hwnd handle = HandleOf(record.get());
    if (!host_.OpenWindow(handle, record->window)) {
      return nullptr;
    }
    windows_.push_back(std::move(record));
    return handle;
  }
  return nullptr;
}

SoftWindowing::WindowRecord* SoftWindowing::Find(Hwnd window) const {
  for (const auto& record : windows_) {
    if (HandleOf(record.get()) == window) {
      return record.get();
    }
  }
  return nullptr;
}

bool SoftWindowing::SetWindowText(Hwnd window, const char* text) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  record->window.title = text != nullptr ? text : "";
  host_.TitleChanged(window, record->window);
  return true;
}

bool SoftWindowing::MoveWindow(Hwnd window, int x, int y, int width, int height, bool /*repaint*/) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  record->window.x = x;
  record->window.y = y;
  record->window.width = width;
  record->window.height = height;
  host_.Moved(window, record->window);
  return true;
}

bool SoftWindowing::ShowWindow(Hwnd window, ShowCommand command) {
  WindowRecord* record = Find(window);
  if (record == nullptr) {
    return false;
  }
  const bool wasVisible = record->window.visible;
  record->window.visible = command != ShowCommand::Hide;
  if (command != ShowCommand::Hide) {
    record->window.maximized = command == ShowCommand::ShowMaximized;
  }
  host_.Shown(window, record->window, command);
  if (!host_.ShowActivates()) {
    return wasVisible;
  }
  if (command == ShowCommand::Hide) {
    if (active_ == window) {
      Deactivate(window);
    }
  } else if (active_ != window) {
    Activate(window);
  }
  return wasVisible;
}

void SoftWindowing::Activate(Hwnd window) {
  if (active_ != nullptr) {
    Deactivate(active_);
  }
  active_ = window;
  lastActive_ = window;
  Deliver(Msg{window, kActivate, ActivationParam(true), 0});
  if (activationListener_) {
    activationListener_(true);
  }
}

void SoftWindowing::Deactivate(Hwnd window) {
  active_ = nullptr;
  Deliver(Msg{window, kActivate, ActivationParam(false), 0});
  if (activationListener_) {
    activationListener_(false);
  }
}

int SoftWindowing::ShowCursor(bool show) {
  cursorCounter_ += show ? 1 : -1;
  host_.CursorShown(cursorCounter_ >= 0);
  return cursorCounter_;
}

bool SoftWindowing::ClipCursor(const Rect* rect) {
  Report(WindowCallKind::ClipCursor);
  if (rect == nullptr) {
    cursorClip_.reset();
  } else {
    cursorClip_ = *rect;
  }
  host_.CursorClipped(rect);
  return true;
}

bool SoftWindowing::PeekMessage(Msg* msg) {
  if (msg == nullptr) {
    return false;
  }
  while (queue_.empty()) {
    if (!host_.Poll()) {
      return false;
    }
  }
  *msg = queue_.front();
  queue_.pop_front();
  return true;
}

bool SoftWindowing::TranslateMessage(const Msg& /*msg*/) {
  Report(WindowCallKind::TranslateMessage);
  return false;
}

intptr_t SoftWindowing::DispatchMessage(const Msg& msg) {
  return Deliver(msg);
}

intptr_t SoftWindowing::Deliver(const Msg& msg) {
  const WindowRecord* record = Find(msg.hwnd);
  if (record == nullptr) {
    return 0;
  }
  if (observer_ != nullptr) {
    observer_->MessageDelivered(msg);
  }
  const WndClassEx& registration = record->windowClass->registration;
  return registration.windowProc(registration.context, msg.hwnd, msg.message, msg.wParam,
                                 msg.lParam);
}

intptr_t SoftWindowing::DefWindowProc(Hwnd window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam) {
  if (observer_ != nullptr) {
    observer_->MessageDefaulted(Msg{window, message, wParam, lParam});
  }
  return 0;
}

void SoftWindowing::BeginPaint(Hwnd /*window*/) {
  Report(WindowCallKind::BeginPaint);
}

void SoftWindowing::EndPaint(Hwnd /*window*/) {
  Report(WindowCallKind::EndPaint);
}

void SoftWindowing::Report(WindowCallKind call) {
  if (observer_ != nullptr) {
    observer_->WindowCalled(call);
  }
}

void SoftWindowing::PostMessage(Hwnd window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  queue_.push_back(Msg{window, message, wParam, lParam});
}

void SoftWindowing::PostActivation(bool active, Hwnd window) {
  Hwnd target = window != nullptr ? window : lastActive_;
  if (target == nullptr && !windows_.empty()) {
    target = HandleOf(windows_.front().get());
  }
  if (target == nullptr) {
    return;
  }
  active_ = active ? target : nullptr;
  lastActive_ = target;
  PostMessage(target, kActivate, ActivationParam(active), 0);
}

void SoftWindowing::SetActivationListener(std::function<void(bool active)> listener) {
  activationListener_ = std::move(listener);
}

const SoftWindow* SoftWindowing::Window(Hwnd window) const {
  const WindowRecord* record = Find(window);
  return record != nullptr ? &record->window : nullptr;
}

std::vector<Hwnd> SoftWindowing::Windows() const {
  std::vector<Hwnd> handles;
  for (const auto& record : windows_) {
    handles.push_back(HandleOf(record.get()));
  }
  return handles;
}

// A monitor's handle is its place in the list plus one, so no handle is null.
bool SoftWindowing::EnumDisplayMonitors(MonitorEnumProc proc, void* context) {
  for (size_t k = 0; k < monitors_.size(); ++k) {
    if (!proc(context, reinterpret_cast<Hmonitor>(k + 1), monitors_[k].rcMonitor)) {
      break;
    }
  }
  return true;
}

bool SoftWindowing::GetMonitorInfo(Hmonitor monitor, MonitorInfo* info) {
  const auto place = reinterpret_cast<uintptr_t>(monitor);
  if (place == 0 || place > monitors_.size()) {
    return false;
  }
  *info = monitors_[place - 1];
  return true;
}

}  // namespace drawing::platform::soft
