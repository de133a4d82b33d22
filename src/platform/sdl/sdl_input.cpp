#include "platform/sdl/sdl_input.h"

#include <algorithm>

#include "platform/sdl/key_table.h"

namespace drawing::platform::sdl {

namespace {

constexpr uint32_t kDirectInputVersion = 0x0700;
constexpr uint32_t kPressed = 0x80;
constexpr int32_t kWheelDelta = 120;

// DirectInput's button numbers: left, right, middle, fourth; -1 for others.
int32_t ButtonIndex(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    case SDL_BUTTON_X1:
      return 3;
    default:
      return -1;
  }
}

}  // namespace

class SdlInput::Object final : public DirectInput {
 public:
  explicit Object(SdlInput& owner) : owner_(owner) {}
  ~Object() override = default;

  uint32_t Release() override {
    if (--references_ > 0) {
      return references_;
    }
    owner_.ObjectReleased();  // deletes this object
    return 0;
  }

  DiResult CreateDeviceEx(DeviceGuid device, InputDevice** out) override {
    if (out == nullptr) {
      return DiResult::InvalidParam;
    }
    *out = nullptr;
    return owner_.CreateDevice(device, out);
  }

 private:
  SdlInput& owner_;
  uint32_t references_ = 1;
};

SdlInput::SdlInput() = default;
SdlInput::~SdlInput() = default;

bool SdlInput::LoadLibrary() {
  return video_.Take();
}

bool SdlInput::GetProcAddress() {
  procFound_ = video_.Held();
  return procFound_;
}

DiResult SdlInput::DirectInputCreateEx(Hinstance /*instance*/, uint32_t version,
                                       DirectInput** out) {
  if (out == nullptr) {
    return DiResult::InvalidParam;
  }
  *out = nullptr;
  if (version != kDirectInputVersion) {
    return DiResult::InvalidParam;
  }
  if (!procFound_ || object_ != nullptr) {
    return DiResult::Fail;
  }
  object_ = std::make_unique<Object>(*this);
  *out = object_.get();
  return DiResult::Ok;
}

void SdlInput::FreeLibrary() {
  procFound_ = false;
  video_.Return();
}

void SdlInput::ObjectReleased() {
  object_.reset();
}

DiResult SdlInput::CreateDevice(DeviceGuid kind, InputDevice** out) {
  devices_.push_back(std::make_unique<SdlInputDevice>(*this, kind));
  *out = devices_.back().get();
  return DiResult::Ok;
}

void SdlInput::DeviceReleased(SdlInputDevice* device) {
  std::erase_if(devices_, [device](const auto& owned) { return owned.get() == device; });
}

void SdlInput::SetRelativeMouse(bool on) {
  if (video_.Held()) {
    SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
  }
}

void SdlInput::SetFocus(bool focused) {
  if (focused_ == focused) {
    return;
  }
  focused_ = focused;
  if (!focused) {
    // Keys and buttons let go elsewhere would never be seen released.
    std::fill(std::begin(keys_), std::end(keys_), false);
    std::fill(std::begin(buttons_), std::end(buttons_), false);
    for (const auto& device : devices_) {
      device->FocusLost();
    }
  }
}

void SdlInput::QueueMouseRecord(uint32_t offset, uint32_t data, uint32_t timeStamp) {
  const DiDeviceObjectData record{offset, data, timeStamp, ++sequence_};
  for (const auto& device : devices_) {
    if (device->Kind() == DeviceGuid::SysMouse) {
      device->Queue(record);
    }
  }
}

void SdlInput::OnKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) {
    return;
  }
  const uint8_t code = DirectInputKeyCode(key.keysym.scancode);
  if (code != 0) {
    keys_[code] = key.state == SDL_PRESSED;
  }
}

void SdlInput::OnButton(const SDL_MouseButtonEvent& button) {
  const int32_t index = ButtonIndex(button.button);
  if (index < 0) {
    return;
  }
  const bool pressed = button.state == SDL_PRESSED;
  buttons_[index] = pressed;
  QueueMouseRecord(OffsetOf(Dimofs::Button0) + static_cast<uint32_t>(index), pressed ? kPressed : 0,
                   button.timestamp);
}

void SdlInput::OnSdlEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          SetFocus(true);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
          SetFocus(false);
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
      if (event.motion.xrel != 0) {
        QueueMouseRecord(OffsetOf(Dimofs::X), static_cast<uint32_t>(event.motion.xrel),
                         event.motion.timestamp);
      }
      if (event.motion.yrel != 0) {
        QueueMouseRecord(OffsetOf(Dimofs::Y), static_cast<uint32_t>(event.motion.yrel),
                         event.motion.timestamp);
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      OnButton(event.button);
      break;
    case SDL_MOUSEWHEEL: {
      const int32_t sign = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
      if (event.wheel.y != 0) {
        QueueMouseRecord(OffsetOf(Dimofs::Z),
                         static_cast<uint32_t>(sign * event.wheel.y * kWheelDelta),
                         event.wheel.timestamp);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace drawing::platform::sdl
