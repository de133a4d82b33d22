// The screen saver's preview host with the program in it, on a real desktop
// (under wine on Xvfb, see wine_adapters_test.sh). The parent window is made
// here, in the same process: wine shows a child window's painting only when
// its parent belongs to the same process, so this is where the pixels of
// the preview are checked; the end-to-end test checks the rest across
// processes, as Screen Saver Settings runs it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "app/application.h"
#include "platform/hosts/preview/win32_preview_host.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_preview_window.h"
#include "platform/win32/win32_windowing.h"

namespace drawing::platform {
namespace {

constexpr int kWidth = 152;
constexpr int kHeight = 112;

intptr_t DefaultProc(void* context, Hwnd window, uint32_t message, uintptr_t wParam,
                     intptr_t lParam) {
  return static_cast<Windowing*>(context)->DefWindowProc(window, message, wParam, lParam);
}

class Win32DesktopPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Windowing& windowing = parentWindowing.emplace();
    WndClassEx windowClass;
    windowClass.windowProc = DefaultProc;
    windowClass.context = &windowing;
    windowClass.instance = windowing.GetModuleHandle();
    windowClass.background = gdi.GetStockObject(StockObject::BlackBrush);
    windowClass.className = "preview parent";
    ASSERT_TRUE(windowing.RegisterClassEx(windowClass));
    parent = windowing.CreateWindowEx(0, windowClass.className, "preview parent",
                                      static_cast<uint32_t>(WindowStyle::Popup), 0, 0, kWidth,
                                      kHeight, windowClass.instance);
    if (parent == nullptr) {
      GTEST_SKIP() << "no desktop to create windows on";
    }
    windowing.ShowWindow(parent, ShowCommand::ShowNormal);
  }

  // The parent's pixels as the screen shows them.
  std::vector<uint32_t> ReadBack() {
    const Hdc screen = gdi.CreateDisplayDC();
    const Hdc memory = gdi.CreateCompatibleDC(screen);
    BitmapInfoHeader header;
    header.width = kWidth;
    header.height = -kHeight;
    header.bitCount = 32;
    void* bits = nullptr;
    const Hbitmap bitmap = gdi.CreateDIBSection(memory, header, &bits);
    const Hgdiobj old = gdi.SelectObject(memory, bitmap);
    gdi.BitBlt(memory, 0, 0, kWidth, kHeight, screen, 0, 0, Rop3::SrcCopy);
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    gdi.SelectObject(memory, old);
    gdi.DeleteObject(bitmap);
    gdi.DeleteDC(memory);
    gdi.DeleteDC(screen);
    return pixels;
  }

  // Destroys the parent (and so the child) when reset.
  std::optional<win32::Win32Windowing> parentWindowing;
  win32::Win32Gdi gdi;
  Hwnd parent = nullptr;
};

size_t Painted(const std::vector<uint32_t>& pixels) {
  size_t painted = 0;
  for (const uint32_t pixel : pixels) {
    painted += (pixel & 0xFFFFFFu) != 0 ? 1 : 0;
  }
  return painted;
}

TEST_F(Win32DesktopPreviewTest, DrawsLiveInTheChildUntilTheParentIsGone) {
  win32::PreviewWindow window(reinterpret_cast<uintptr_t>(parent));
  win32::PreviewHost host(window);
  ASSERT_TRUE(host.Open());
  app::ApplicationOptions options;
  options.stopRequest = host.StopRequest();
  options.beginFrame = [&host](uint32_t /*frame*/) { host.BeginFrame(); };
  app::Application application(host.GetPlatform(), options);
  ASSERT_TRUE(application.StartUp());
  EXPECT_EQ(application.State().ScreenWidth, kWidth);
  EXPECT_EQ(application.State().ScreenHeight, kHeight);

  std::vector<std::vector<uint32_t>> looks;
  for (int look = 0; look < 3; ++look) {
    for (int frame = 0; frame < 20; ++frame) {
      ASSERT_TRUE(application.RunFrame());
    }
    looks.push_back(ReadBack());
  }
  EXPECT_GT(Painted(looks[0]), 0u);
  EXPECT_NE(looks[0], looks[1]);
  EXPECT_NE(looks[1], looks[2]);

  // The frame that begins next notices, and the program ends before another.
  parentWindowing.reset();
  int framesAfter = 0;
  while (framesAfter < 5 && application.RunFrame()) {
    ++framesAfter;
  }
  EXPECT_LE(framesAfter, 1);
  EXPECT_EQ(application.EndReason(), app::RunEnd::StopRequest);
}

}  // namespace
}  // namespace drawing::platform
