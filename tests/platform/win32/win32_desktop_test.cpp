// The native window and Direct3D 9 adapters on a real desktop. Without one
// (wine with no X display) the tests skip; the end-to-end test
// wine_adapters_test.sh runs them under Xvfb, where a skip is a failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32/win32_host.h"

namespace drawing::platform {
namespace {

constexpr uint32_t kWmNcCreate = 0x0081;
constexpr uint32_t kWmSetText = 0x000C;
constexpr uint32_t kWmUser = 0x0400;

struct Seen {
  Windowing* windowing = nullptr;
  std::vector<uint32_t> messages;
  uintptr_t lastWParam = 0;
  intptr_t lastLParam = 0;
};

intptr_t RecordingProc(void* context, Hwnd window, uint32_t message, uintptr_t wParam,
                       intptr_t lParam) {
  auto* seen = static_cast<Seen*>(context);
  seen->messages.push_back(message);
  if (message == kWmUser) {
    seen->lastWParam = wParam;
    seen->lastLParam = lParam;
    return 42;
  }
  return seen->windowing->DefWindowProc(window, message, wParam, lParam);
}

bool Saw(const Seen& seen, uint32_t message) {
  for (const uint32_t m : seen.messages) {
    if (m == message) {
      return true;
    }
  }
  return false;
}

class Win32DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.windowing = &windowing;
    WndClassEx windowClass;
    windowClass.style = static_cast<uint32_t>(ClassStyle::DblClks);
    windowClass.windowProc = RecordingProc;
    windowClass.context = &seen;
    windowClass.instance = windowing.GetModuleHandle();
    windowClass.background = gdi.GetStockObject(StockObject::BlackBrush);
    windowClass.className = "MultimediaBase Class";
    ASSERT_TRUE(windowing.RegisterClassEx(windowClass));
    window = windowing.CreateWindowEx(0, windowClass.className, "",
                                      static_cast<uint32_t>(WindowStyle::Popup), 0, 0, 1, 1,
                                      windowClass.instance);
    if (window == nullptr) {
      GTEST_SKIP() << "no desktop to create windows on";
    }
  }
  void Pump() {
    Msg msg;
    for (int i = 0; i < 10000 && windowing.PeekMessage(&msg); ++i) {
      windowing.TranslateMessage(msg);
      windowing.DispatchMessage(msg);
    }
  }

  win32::Win32Windowing windowing;
  win32::Win32Gdi gdi;
  Seen seen;
  Hwnd window = nullptr;
};

TEST_F(Win32DesktopTest, TheWindowProcedureRunsWithItsContextFromCreationOn) {
  EXPECT_TRUE(Saw(seen, kWmNcCreate));
  seen.messages.clear();
  EXPECT_TRUE(windowing.SetWindowText(window, "drawing"));
  EXPECT_TRUE(Saw(seen, kWmSetText));
  Msg msg;
  msg.hwnd = window;
  msg.message = kWmUser;
  msg.wParam = 7;
  msg.lParam = -9;
  EXPECT_EQ(windowing.DispatchMessage(msg), 42);
  EXPECT_EQ(seen.lastWParam, 7u);
  EXPECT_EQ(seen.lastLParam, -9);
}

TEST_F(Win32DesktopTest, ShowingTheWindowMaximisedLeavesAnEmptyQueueBehind) {
  EXPECT_TRUE(windowing.MoveWindow(window, 0, 0, 64, 48, true));
  windowing.ShowWindow(window, ShowCommand::ShowMaximized);
  Pump();
  Msg msg;
  EXPECT_FALSE(windowing.PeekMessage(&msg));
  const int hidden = windowing.ShowCursor(false);
  EXPECT_EQ(windowing.ShowCursor(true), hidden + 1);
  const Rect box{0, 0, 10, 10};
  EXPECT_TRUE(windowing.ClipCursor(&box));
  EXPECT_TRUE(windowing.ClipCursor(nullptr));
}

// The sprite path of the display on the real device: a managed texture drawn
// as a pre-transformed quad with ONE/ZERO blending and point sampling lands
// texel for texel on the back buffer, and GDI on the back buffer's DC shows
// in a later lock.
TEST_F(Win32DesktopTest, TheFullScreenDeviceCopiesSpriteTexelsAndKeepsGdiDrawing) {
  win32::Win32Direct3DModule module;
  ASSERT_TRUE(module.LoadLibrary());
  ASSERT_TRUE(module.GetProcAddress());
  Direct3D* direct3d = module.Direct3DCreate9(32);
  ASSERT_NE(direct3d, nullptr);
  ASSERT_GT(direct3d->GetAdapterModeCount(0, Format::X8R8G8B8), 0u);
  DisplayMode mode;
  ASSERT_EQ(direct3d->EnumAdapterModes(0, Format::X8R8G8B8, 0, &mode), D3dResult::Ok);
  EXPECT_EQ(mode.format, Format::X8R8G8B8);
  ASSERT_EQ(direct3d->CheckDeviceType(0, DevType::Hal, Format::X8R8G8B8, Format::X8R8G8B8, false),
            D3dResult::Ok);
  Caps caps;
  ASSERT_EQ(direct3d->GetDeviceCaps(0, DevType::Hal, &caps), D3dResult::Ok);

  windowing.MoveWindow(window, 0, 0, static_cast<int>(mode.Width), static_cast<int>(mode.Height),
                       true);
  PresentParameters parameters;
  parameters.BackBufferWidth = mode.Width;
  parameters.BackBufferHeight = mode.Height;
  parameters.BackBufferFormat = Format::X8R8G8B8;
  parameters.BackBufferCount = 1;
  parameters.swapEffect = SwapEffect::Flip;
  parameters.hDeviceWindow = window;
  parameters.Flags = static_cast<uint32_t>(PresentFlag::LockableBackbuffer);
  parameters.PresentationInterval = PresentInterval::One;
  Device* device = nullptr;
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, window,
                                   static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing),
                                   &parameters, &device),
            D3dResult::Ok);
  ASSERT_NE(device, nullptr);
  windowing.ShowWindow(window, ShowCommand::ShowMaximized);
  Pump();
  EXPECT_EQ(device->TestCooperativeLevel(), D3dResult::Ok);
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  EXPECT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0x00000000u, 0.0f, 0), D3dResult::Ok);

  // A 4 x 3 texture of distinct colours, alpha 0 on some texels.
  Texture* texture = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 3, 1, 0, Format::A8R8G8B8, Pool::Managed, &texture),
            D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, LockFlag::None), D3dResult::Ok);
  auto texel = [](int x, int y) {
    return static_cast<uint32_t>(((x + y) % 2 ? 0xFF000000u : 0u) | (0x40 * x) << 16 |
                                 (0x50 * y) << 8 | 0x21);
  };
  for (int y = 0; y < 3; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
    for (int x = 0; x < 4; ++x) {
      row[x] = texel(x, y);
    }
  }
  ASSERT_EQ(texture->UnlockRect(0), D3dResult::Ok);

  device->SetTextureStageState(0, TextureStageState::ColorOp,
                               static_cast<uint32_t>(TextureOp::SelectArg1));
  device->SetTextureStageState(0, TextureStageState::AlphaOp,
                               static_cast<uint32_t>(TextureOp::SelectArg1));
  device->SetSamplerState(0, SamplerState::MagFilter, static_cast<uint32_t>(TextureFilter::Point));
  device->SetSamplerState(0, SamplerState::MinFilter, static_cast<uint32_t>(TextureFilter::Point));
  device->SetRenderState(RenderState::MultisampleAntialias, 0);
  device->SetRenderState(RenderState::AlphaBlendEnable, 1);
  device->SetRenderState(RenderState::SrcBlend, static_cast<uint32_t>(Blend::One));
  device->SetRenderState(RenderState::DestBlend, static_cast<uint32_t>(Blend::Zero));
  device->SetFVF(FvfBits(Fvf::XyzRhw, Fvf::Tex1));
  ASSERT_EQ(device->BeginScene(), D3dResult::Ok);
  const float left = 10.0f - 0.5f;
  const float top = 20.0f - 0.5f;
  const float quad[4][6] = {{left, top, 0, 1, 0, 0},
                            {left + 4, top, 0, 1, 1, 0},
                            {left, top + 3, 0, 1, 0, 1},
                            {left + 4, top + 3, 0, 1, 1, 1}};
  EXPECT_EQ(device->SetTexture(0, texture), D3dResult::Ok);
  EXPECT_EQ(device->DrawPrimitiveUP(PrimitiveType::TriangleStrip, 2, quad, 24), D3dResult::Ok);
  ASSERT_EQ(device->EndScene(), D3dResult::Ok);

  // GDI on the back buffer: a white 3 x 2 box at (30, 40).
  Hdc dc = nullptr;
  ASSERT_EQ(backBuffer->GetDC(&dc), D3dResult::Ok);
  const Hbrush white = gdi.CreateSolidBrush(0xFFFFFF);
  EXPECT_NE(gdi.FillRect(dc, Rect{30, 40, 33, 42}, white), 0);
  gdi.DeleteObject(white);
  ASSERT_EQ(backBuffer->ReleaseDC(dc), D3dResult::Ok);

  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  auto pixel = [&](int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4, 4);
    return value & 0xFFFFFFu;
  };
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(pixel(10 + x, 20 + y), texel(x, y) & 0xFFFFFFu) << x << "," << y;
    }
  }
  EXPECT_EQ(pixel(9, 20), 0u);
  EXPECT_EQ(pixel(14, 22), 0u);
  EXPECT_EQ(pixel(10, 23), 0u);
  EXPECT_EQ(pixel(30, 40), 0xFFFFFFu);
  EXPECT_EQ(pixel(32, 41), 0xFFFFFFu);
  EXPECT_EQ(pixel(33, 41), 0u);
  EXPECT_EQ(pixel(32, 42), 0u);
  EXPECT_EQ(backBuffer->UnlockRect(), D3dResult::Ok);
  EXPECT_EQ(device->Present(), D3dResult::Ok);

  device->SetTexture(0, nullptr);
  EXPECT_EQ(texture->Release(), 0u);
  EXPECT_EQ(backBuffer->Release(), 0u);
  EXPECT_EQ(device->Release(), 0u);
  EXPECT_EQ(direct3d->Release(), 0u);
}

}  // namespace
}  // namespace drawing::platform
