#include "device_fixture.h"

namespace drawing::platform::testing {

namespace {

intptr_t QuietProc(void*, Hwnd, uint32_t, uintptr_t, intptr_t) {
  return 0;
}

}  // namespace

DeviceTest::DeviceTest(headless::HeadlessConfig config) : host(std::move(config)) {}

DeviceTest::~DeviceTest() {
  if (device != nullptr) {
    device->Release();
  }
  if (direct3d != nullptr) {
    direct3d->Release();
  }
}

Hwnd DeviceTest::Window() {
  if (window_ == nullptr) {
    WndClassEx windowClass;
    windowClass.windowProc = QuietProc;
    windowClass.className = "device test";
    host.Windowing().RegisterClassEx(windowClass);
    window_ = host.Windowing().CreateWindowEx(0, "device test", "", 0, 0, 0, 1, 1, nullptr);
  }
  return window_;
}

void DeviceTest::Open(Format format, uint32_t width, uint32_t height) {
  soft::SoftDirect3DModule& module = host.Direct3D();
  ASSERT_TRUE(module.LoadLibrary());
  ASSERT_TRUE(module.GetProcAddress());
  direct3d = module.Direct3DCreate9(32);
  ASSERT_NE(direct3d, nullptr);
  PresentParameters parameters = FullScreen(width, height, format, Window());
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, Window(),
                                   static_cast<uint32_t>(CreateFlag::MixedVertexProcessing),
                                   &parameters, &device),
            D3dResult::Ok);
  ASSERT_NE(device, nullptr);
}

Texture* DeviceTest::TextureWith(Format format, uint32_t width, uint32_t height,
                                 const std::vector<uint32_t>& texels) {
  Texture* texture = nullptr;
  EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, Pool::Managed, &texture),
            D3dResult::Ok);
  if (texture == nullptr) {
    return nullptr;
  }
  LockedRect locked;
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, LockFlag::None), D3dResult::Ok);
  const bool wide = format == Format::A8R8G8B8 || format == Format::X8R8G8B8;
  for (uint32_t y = 0; y < height; ++y) {
    auto* row = static_cast<uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t value = texels[y * width + x];
      if (wide) {
        reinterpret_cast<uint32_t*>(row)[x] = value;
      } else {
        reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(value);
      }
    }
  }
  texture->UnlockRect(0);
  return texture;
}

Texture* DeviceTest::PatternTexture(uint32_t width, uint32_t height, Format format) {
  std::vector<uint32_t> texels;
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      texels.push_back(Pattern(x, y));
    }
  }
  return TextureWith(format, width, height, texels);
}

D3dResult DeviceTest::DrawSprite(Texture* texture, int32_t left, int32_t top, int32_t width,
                                 int32_t height) {
  device->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device->SetRenderState(RenderState::SrcBlend, static_cast<uint32_t>(Blend::One));
  device->SetRenderState(RenderState::DestBlend, static_cast<uint32_t>(Blend::Zero));
  device->SetFVF(FvfBits(Fvf::XyzRhw, Fvf::Tex1));
  device->SetTexture(0, texture);
  const auto quad = SpriteQuad(left, top, width, height);
  // Outside a scene the draw itself fails, so its result tells.
  IgnoreResult(device->BeginScene());
  const D3dResult result =
      device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad.data(), 24);
  device->EndScene();
  return result;
}

}  // namespace drawing::platform::testing
