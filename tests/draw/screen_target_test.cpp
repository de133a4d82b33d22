// The screen as a drawing target: GDI drawing on the back buffer, the Canvas
// blit, and a whole frame as the application draws and presents it.
#include "draw/screen_target.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "display/display.h"
#include "draw/drawing.h"
#include "draw/gdi_backend.h"
#include "image/images.h"
#include "platform/hosts/headless/headless_host.h"
#include "runtime/main_heap.h"

namespace drawing::draw {
namespace {

using platform::headless::HeadlessConfig;
using platform::headless::HeadlessHost;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr uint32_t kRgb = 0xFFFFFFu;

class ScreenTargetTest : public ::testing::Test {
 protected:
  ScreenTargetTest()
      : platform(host.GetPlatform()),
        display(heap, platform),
        drawing(heap, host.System()),
        images(heap, host.Gdi()) {
    drawing.InitDrawing();
    images.InitImages();
  }
  ~ScreenTargetTest() override {
    display.ShutdownDisplay();
    images.DestroyAllImages();
  }

  void SetUp() override {
    ASSERT_EQ(display.InitDisplay(), 1);
    ASSERT_EQ(display.OpenFullScreen(kWidth, kHeight, 32, "drawing"), 1);
  }

  GdiBackend* Begin() {
    DrawContext* context = ScreenTarget(drawing, display, host.Gdi());
    EXPECT_NE(context, nullptr);
    EXPECT_NE(drawing.BeginDraw(context), 0);
    return static_cast<GdiBackend*>(context);
  }

  platform::soft::SoftSurface& BackBuffer() { return host.Device()->BackBuffer(); }
  uint32_t Pixel(int x, int y) {
    return BackBuffer().ReadPixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) & kRgb;
  }
  // Pixels of the back buffer whose colour is `rgb` (device order).
  int Count(uint32_t rgb) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        count += Pixel(x, y) == rgb ? 1 : 0;
      }
    }
    return count;
  }

  // A 32-bit image; `paint(x, y)` gives the colour (0xRRGGBB) of the pixel at
  // (x, y), counted from the top as the program's coordinates are.
  template <class Paint>
  platform::Hbitmap MakeImage(int32_t number, int32_t width, int32_t height, Paint paint) {
    EXPECT_NE(images.NewImage(number, width, height, 32), 0);
    platform::Hbitmap bitmap = images.ImageHandle(number);
    platform::DibSection dib;
    EXPECT_TRUE(host.Gdi().GetObjectDibSection(bitmap, &dib));
    auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    for (int32_t y = 0; y < height; ++y) {
      // Bottom-up: the top row is the last in memory.
      auto* row = reinterpret_cast<uint32_t*>(bits + (height - 1 - y) * dib.dsBm.bmWidthBytes);
      for (int32_t x = 0; x < width; ++x) {
        row[x] = 0xFF000000u | paint(x, y);
      }
    }
    return bitmap;
  }

  runtime::MainHeap heap;
  HeadlessHost host;
  platform::Platform platform;
  display::Display display;
  Drawing drawing;
  image::Images images;
};

TEST_F(ScreenTargetTest, ABoxOfThreeByThreeCoversExactlyNinePixels) {
  display.ClearBackBuffer(0);
  Begin();
  drawing.DrawBox(10, 20, 3, 3, 0x0000FF);
  drawing.EndDraw();
  EXPECT_EQ(Count(0xFF0000u), 9);
  for (int y = 20; y < 23; ++y) {
    for (int x = 10; x < 13; ++x) {
      EXPECT_EQ(Pixel(x, y), 0xFF0000u) << x << "," << y;
    }
  }
}

TEST_F(ScreenTargetTest, OnePixelBoxesInEveryDirectionSetOnePixel) {
  struct Case {
    int width;
    int height;
    int x;
    int y;
  };
  for (const Case& box :
       {Case{1, 1, 5, 5}, Case{1, -1, 5, 4}, Case{-1, 1, 4, 5}, Case{-1, -1, 4, 4}}) {
    SCOPED_TRACE(::testing::Message() << box.width << " x " << box.height);
    display.ClearBackBuffer(0);
    Begin();
    drawing.DrawBox(5, 5, box.width, box.height, 0x00FF00);
    drawing.EndDraw();
    EXPECT_EQ(Count(0x00FF00u), 1);
    EXPECT_EQ(Pixel(box.x, box.y), 0x00FF00u);
  }
}

TEST_F(ScreenTargetTest, TheCanvasBlitIsTheRightWayUpAndBoxesLandOnTop) {
  // Top half red, bottom half blue, one green pixel at the top-left corner.
  platform::Hbitmap canvas = MakeImage(0, kWidth, kHeight, [](int32_t x, int32_t y) -> uint32_t {
    if (x == 0 && y == 0) {
      return 0x00FF00;
    }
    return y < kHeight / 2 ? 0xFF0000u : 0x0000FFu;
  });
  display.ClearBackBuffer(0xFFFFFF);
  Begin();
  drawing.BlitImage(canvas, 0, 0);
  drawing.DrawBox(30, 30, 3, 3, 0xFFFFFF);
  drawing.EndDraw();

  EXPECT_EQ(Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(Pixel(1, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(kWidth - 1, kHeight / 2 - 1), 0xFF0000u);
  EXPECT_EQ(Pixel(0, kHeight / 2), 0x0000FFu);
  EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), 0x0000FFu);
  EXPECT_EQ(Count(0xFFFFFFu), 9);
  EXPECT_EQ(Pixel(31, 31), 0xFFFFFFu);
}

TEST_F(ScreenTargetTest, ASmallerImageLandsAtItsPositionAndXorModeInvertsTheUnion) {
  platform::Hbitmap image = MakeImage(1, 4, 2, [](int32_t, int32_t) { return 0xFF0000u; });
  display.ClearBackBuffer(0);
  Begin();
  drawing.BlitImage(image, 10, 5);
  drawing.EndDraw();
  EXPECT_EQ(Count(0xFF0000u), 8);
  EXPECT_EQ(Pixel(10, 5), 0xFF0000u);
  EXPECT_EQ(Pixel(13, 6), 0xFF0000u);
  EXPECT_EQ(Pixel(14, 6), 0u);

  // NOT (source OR destination): red over black gives cyan.
  display.ClearBackBuffer(0);
  Begin();
  drawing.SetDrawMode(DrawModeXor);
  drawing.BlitImage(image, 0, 0);
  drawing.EndDraw();
  EXPECT_EQ(Pixel(0, 0), 0x00FFFFu);
  EXPECT_EQ(Count(0x00FFFFu), 8);
}

TEST_F(ScreenTargetTest, ASizedBlitStretchesTheWholeImage) {
  platform::Hbitmap image = MakeImage(1, 2, 2, [](int32_t, int32_t) { return 0x0000FFu; });
  display.ClearBackBuffer(0);
  GdiBackend* context = Begin();
  context->BlitImageSized(image, 4, 4, 6, 4);
  drawing.EndDraw();
  EXPECT_EQ(Count(0x0000FFu), 24);
  EXPECT_EQ(Pixel(9, 7), 0x0000FFu);
}

TEST_F(ScreenTargetTest, AHandleThatIsNoBitmapDrawsNothing) {
  platform::Hbrush brush = host.Gdi().CreateSolidBrush(0x0000FF);
  display.ClearBackBuffer(0);
  Begin();
  drawing.BlitImage(brush, 0, 0);
  drawing.BlitImage(nullptr, 0, 0);
  drawing.EndDraw();
  host.Gdi().DeleteObject(brush);
  EXPECT_EQ(Count(0u), kWidth * kHeight);
}

TEST_F(ScreenTargetTest, OutlineModeDrawsOnlyTheBorder) {
  display.ClearBackBuffer(0);
  Begin();
  drawing.SetDrawMode(DrawModeOutline);
  drawing.DrawBox(10, 10, 5, 5, 0x0000FF);
  drawing.EndDraw();
  EXPECT_EQ(Count(0xFF0000u), 16);
  EXPECT_EQ(Pixel(12, 12), 0u);
  EXPECT_EQ(Pixel(14, 14), 0xFF0000u);
}

TEST_F(ScreenTargetTest, TheScreenTargetEndsTheSceneAndDescribesTheScreen) {
  ASSERT_NE(display.NewSprite(0, kWidth, kHeight), nullptr);
  display.ShowSprite(0, 0, 0);
  ASSERT_TRUE(display.State().SceneOpen);
  DrawContext* context = ScreenTarget(drawing, display, host.Gdi());
  ASSERT_NE(context, nullptr);
  EXPECT_FALSE(display.State().SceneOpen);
  EXPECT_FALSE(host.Device()->InScene());
  EXPECT_EQ(drawing.CurrentDrawContext(), context);
  EXPECT_EQ(context->BufferFormat(), 64);
  EXPECT_EQ(context->width, kWidth);
  EXPECT_EQ(context->height, kHeight);
  EXPECT_EQ(context->depth, 32);
  EXPECT_TRUE(BackBuffer().HasDC());
  ASSERT_NE(drawing.BeginDraw(context), 0);
  drawing.EndDraw();
  EXPECT_FALSE(BackBuffer().HasDC());
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
}

TEST_F(ScreenTargetTest, EveryGdiObjectIsGoneAfterTheDrawing) {
  const int32_t before = host.Gdi().LiveObjectCount();
  const size_t blocks = heap.LiveBlockCount();
  Begin();
  drawing.DrawBox(1, 1, 3, 3, 0x0000FF);
  drawing.DrawBox(5, 1, 3, 3, 0x00FF00);
  drawing.SetDrawMode(DrawModeOutline | DrawModeTransparent);
  drawing.DrawBox(9, 1, 3, 3, 0xFF0000);
  drawing.EndDraw();
  EXPECT_EQ(host.Gdi().LiveObjectCount(), before);
  EXPECT_EQ(heap.LiveBlockCount(), blocks);
}

TEST_F(ScreenTargetTest, WithoutADeviceContextThereIsNoTarget) {
  host.Faults().Fail(platform::headless::FaultyCall::GetDC, 1);
  DrawContext* context = ScreenTarget(drawing, display, host.Gdi());
  EXPECT_EQ(context, nullptr);
  EXPECT_EQ(drawing.BeginDraw(context), 0);
  EXPECT_FALSE(drawing.DrawBox(0, 0, 3, 3, 0x0000FF));
  drawing.EndDraw();

  display.CloseFullScreen();
  EXPECT_EQ(ScreenTarget(drawing, display, host.Gdi()), nullptr);
}

TEST_F(ScreenTargetTest, DirectPixelAccessHandsTheContextBackAndGdiTakesItAgain) {
  display.ClearBackBuffer(0);
  GdiBackend* context = Begin();
  drawing.DrawBox(0, 0, 1, 1, 0x0000FF);
  auto* pixels = reinterpret_cast<uint8_t*>(context->BufferAddress());
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(context->BufferPitch(), BackBuffer().Pitch());
  EXPECT_EQ(context->BufferFormat(), 64);
  EXPECT_FALSE(BackBuffer().HasDC());
  EXPECT_TRUE(BackBuffer().IsLocked());
  const uint32_t green = 0x0000FF00u;
  std::memcpy(pixels + 2 * context->BufferPitch() + 2 * 4, &green, 4);

  // The next GDI call fetches the context again, with the colour still set.
  drawing.DrawBox(4, 4, 1, 1, 0x0000FF);
  EXPECT_TRUE(BackBuffer().HasDC());
  EXPECT_FALSE(BackBuffer().IsLocked());
  drawing.DrawBox(6, 6, 2, 2, 0x0000FF);
  drawing.EndDraw();
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 2), 0x00FF00u);
  EXPECT_EQ(Pixel(4, 4), 0xFF0000u);
  EXPECT_EQ(Count(0xFF0000u), 6);

  // A lock still held at the end is given back too.
  context = Begin();
  ASSERT_NE(context->BufferAddress(), 0);
  drawing.EndDraw();
  EXPECT_FALSE(BackBuffer().IsLocked());
  EXPECT_FALSE(BackBuffer().HasDC());
}

TEST_F(ScreenTargetTest, AWholeFrameAsTheProgramDrawsIt) {
  // The Canvas: a horizontal gradient of red, darker rows further down.
  platform::Hbitmap canvas = MakeImage(0, kWidth, kHeight, [](int32_t x, int32_t y) -> uint32_t {
    return (static_cast<uint32_t>(x * 4) << 16) | static_cast<uint32_t>(y);
  });
  ASSERT_NE(display.NewSprite(0, kWidth, kHeight), nullptr);
  // The last head sits on the corner: only 2 x 2 of its box are on screen.
  const int heads[3][2] = {{5, 5}, {40, 20}, {63, 47}};

  display.ClearBackBuffer(0);
  display.ShowSprite(0, 0, 0);
  DrawContext* context = ScreenTarget(drawing, display, host.Gdi());
  drawing.BeginDraw(context);
  drawing.BlitImage(canvas, 0, 0);
  for (const auto& head : heads) {
    drawing.DrawBox(head[0] - 1, head[1] - 1, 3, 3, 0x00FFFF);  // yellow
  }
  drawing.EndDraw();
  ASSERT_EQ(display.PresentFrame(), 1);

  const platform::headless::PresentedFrame* frame = host.Display().LastFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->width, static_cast<uint32_t>(kWidth));
  ASSERT_EQ(frame->height, static_cast<uint32_t>(kHeight));
  int yellow = 0;
  for (uint32_t y = 0; y < frame->height; ++y) {
    for (uint32_t x = 0; x < frame->width; ++x) {
      const uint32_t shown = frame->Pixel(x, y) & kRgb;
      bool onHead = false;
      for (const auto& head : heads) {
        onHead |= static_cast<int>(x) >= head[0] - 1 && static_cast<int>(x) <= head[0] + 1 &&
                  static_cast<int>(y) >= head[1] - 1 && static_cast<int>(y) <= head[1] + 1;
      }
      if (onHead) {
        ++yellow;
        ASSERT_EQ(shown, 0xFFFF00u) << x << "," << y;
      } else {
        ASSERT_EQ(shown, ((x * 4) << 16) | y) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(yellow, 9 + 9 + 4);
}

}  // namespace
}  // namespace drawing::draw
