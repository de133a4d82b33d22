// Frame presentation: the message pump, device-loss recovery, the flip, the
// scene bracket shared with sprites and the screen drawing target, and the
// back-buffer clear.
#include "display/display.h"

namespace drawing::display {

using platform::D3dResult;

namespace {

// The longest a single PresentFrame waits for a lost device to come back.
constexpr uint32_t kLostDeviceWaitMs = 32;

}  // namespace

int Display::EnsureScene() {
  if (state_.SceneOpen) {
    return 1;
  }
  if (state_.device != nullptr && platform::Succeeded(state_.device->BeginScene())) {
    state_.SceneOpen = true;
  }
  return state_.SceneOpen ? 1 : 0;
}

void Display::EndSceneIfOpen() {
  if (!state_.SceneOpen) {
    return;
  }
  state_.SceneOpen = false;
  if (state_.device != nullptr) {
    state_.device->EndScene();
  }
}

void Display::ShowSprite(int number, int x, int y) {
  const SpriteRecord* sprite = sprites_.Find(number);
  if (sprite == nullptr || EnsureScene() == 0) {
    return;
  }
  sprites_.Draw(*sprite, x, y);
}

void Display::ClearBackBuffer(int32_t colour) {
  if (state_.device == nullptr) {
    return;
  }
  // RGB with red in the low byte to the device's 0xAARRGGBB order.
  const auto bits = static_cast<uint32_t>(colour);
  const uint32_t deviceColour =
      ((bits & 0xFFu) << 16) | static_cast<uint32_t>(colour >> 16) | (bits & 0xFF00u);
  state_.device->Clear(0, nullptr, platform::ClearFlag::Target, deviceColour, 0.0f, 0);
}

D3dResult Display::WaitForLostDevice() {
  platform::System& system = platform_.system;
  const uint32_t start = system.GetTickCount();
  for (;;) {
    system.Sleep(1);
    const D3dResult code = state_.device->TestCooperativeLevel();
    if (code == D3dResult::DriverInternalError || code == D3dResult::DeviceNotReset ||
        code == D3dResult::Ok) {
      return code;
    }
    // Unsigned, so a wrap of the tick count does not stretch the wait.
    if (static_cast<uint32_t>(system.GetTickCount() - start) >= kLostDeviceWaitMs) {
      return code;
    }
  }
}

int Display::ResetDevice() {
  platform::Device* device = state_.device;
  sprites_.ReleaseDeviceResources();
  // The device refuses to reset while its back buffer is still held.
  if (state_.backBuffer != nullptr) {
    state_.backBuffer->Release();
    state_.backBuffer = nullptr;
  }
  if (platform::Failed(device->Reset(&state_.presentParameters))) {
    return 0;
  }
  sprites_.RestoreDeviceResources();
  state_.backBuffer = QueryBackBuffer(*device);
  sprites_.ForgetRenderStates();
  return 1;
}

platform::Surface* Display::QueryBackBuffer(platform::Device& device) {
  platform::Surface* backBuffer = nullptr;
  // A device that cannot name its back buffer leaves the screen without one:
  // the screen drawing target then refuses to draw instead of using whatever
  // the call left behind.
  if (platform::Failed(device.GetBackBuffer(0, 0, platform::BackBufferType::Mono, &backBuffer))) {
    return nullptr;
  }
  return backBuffer;
}

int Display::PresentFrame() {
  platform::Windowing& windowing = platform_.windowing;
  platform::Msg message;
  while (windowing.PeekMessage(&message)) {
    windowing.TranslateMessage(message);
    windowing.DispatchMessage(message);
  }

  // Inactive (or never opened): nothing is presented and nothing waits.
  if (!state_.DeviceActive || state_.device == nullptr) {
    return 1;
  }

  D3dResult code = state_.device->TestCooperativeLevel();
  if (code == D3dResult::DeviceLost) {
    code = WaitForLostDevice();
    if (code == D3dResult::DeviceLost) {
      state_.DeviceActive = false;
      return 0;
    }
  }
  if (code == D3dResult::DriverInternalError) {
    state_.DeviceActive = false;
    return 0;
  }
  if (code == D3dResult::DeviceNotReset && ResetDevice() == 0) {
    state_.DeviceActive = false;
    return 0;
  }

  EndSceneIfOpen();
  state_.DeviceActive = platform::Succeeded(state_.device->Present());
  return 1;
}

}  // namespace drawing::display
