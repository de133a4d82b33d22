// A headless host with a screen window and, once opened, a software
// Direct3D device on it, for the device tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/direct3d.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/soft/direct3d/soft_device.h"

namespace drawing::platform::testing {

inline PresentParameters FullScreen(uint32_t width, uint32_t height, Format format,
                                    Hwnd window = nullptr) {
  PresentParameters parameters;
  parameters.BackBufferWidth = width;
  parameters.BackBufferHeight = height;
  parameters.BackBufferFormat = format;
  parameters.BackBufferCount = 1;
  parameters.swapEffect = SwapEffect::Flip;
  parameters.hDeviceWindow = window;
  parameters.Windowed = false;
  parameters.Flags = static_cast<uint32_t>(PresentFlag::LockableBackbuffer);
  parameters.PresentationInterval = PresentInterval::One;
  return parameters;
}

// Vertices of a sprite quad as the display builds them: corners shifted by
// -0.5, texture coordinates 0 .. 1.
inline std::array<float, 24> SpriteQuad(int32_t left, int32_t top, int32_t width, int32_t height) {
  const auto l = static_cast<float>(left) - 0.5f;
  const auto t = static_cast<float>(top) - 0.5f;
  const auto r = static_cast<float>(left + width) - 0.5f;
  const auto b = static_cast<float>(top + height) - 0.5f;
  return {l, t, 0.0f, 1.0f, 0.0f, 0.0f, r, t, 0.0f, 1.0f, 1.0f, 0.0f,
          l, b, 0.0f, 1.0f, 0.0f, 1.0f, r, b, 0.0f, 1.0f, 1.0f, 1.0f};
}

// A distinct texel value for every position.
inline uint32_t Pattern(uint32_t x, uint32_t y) {
  return 0x80000000u | (y << 12) | (x << 4) | 5u;
}

class DeviceTest : public ::testing::Test {
 protected:
  explicit DeviceTest(headless::HeadlessConfig config = {});
  ~DeviceTest() override;

  Hwnd Window();
  // Creates the Direct3D object and a device; fails the test on refusal.
  void Open(Format format = Format::X8R8G8B8, uint32_t width = 64, uint32_t height = 48);
  soft::SoftDevice& Soft() { return *host.Device(); }
  // A managed texture holding `texels` row by row (raw values; 16-bit
  // formats take the low half).
  Texture* TextureWith(Format format, uint32_t width, uint32_t height,
                       const std::vector<uint32_t>& texels);
  // A managed texture filled with Pattern.
  Texture* PatternTexture(uint32_t width, uint32_t height, Format format = Format::A8R8G8B8);
  // Sets the sprite states and draws `texture` at (left, top) in a scene.
  D3dResult DrawSprite(Texture* texture, int32_t left, int32_t top, int32_t width, int32_t height);

  // Runs `draw` on a device context of the back buffer, as the screen
  // target draws.
  template <typename Draw>
  void OnBackBufferDc(Draw draw) {
    Surface* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
    Hdc dc = nullptr;
    ASSERT_EQ(backBuffer->GetDC(&dc), D3dResult::Ok);
    draw(dc);
    EXPECT_EQ(backBuffer->ReleaseDC(dc), D3dResult::Ok);
    backBuffer->Release();
  }

  headless::HeadlessHost host;
  Direct3D* direct3d = nullptr;
  Device* device = nullptr;

 private:
  Hwnd window_ = nullptr;
};

}  // namespace drawing::platform::testing
