// Presentation on the headless screen without copying: the back buffer is
// the screen's memory, a presented frame stays in it until it is asked for
// or about to change, and a copy over the whole back buffer moves the device
// to other memory instead. Whatever the order, every frame and the back
// buffer read as if each Present had copied.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/soft/direct3d/device_fixture.h"
#include "platform/soft/gdi/soft_gdi_fixture.h"

namespace drawing::platform::testing {
namespace {

using soft::testing::Dib;

constexpr int32_t kWidth = 12;
constexpr int32_t kHeight = 8;

headless::HeadlessConfig Keeping(size_t frames, bool lend = true) {
  headless::HeadlessConfig config;
  config.display.keptFrames = frames;
  config.display.lendBackBuffer = lend;
  return config;
}

// A distinct colour per pixel and picture.
uint32_t Picture(int32_t picture, int32_t x, int32_t y) {
  return 0xFF000000u | static_cast<uint32_t>(picture) << 16 | static_cast<uint32_t>(y) << 8 |
         static_cast<uint32_t>(x);
}

class HeadlessPresentTest : public DeviceTest {
 protected:
  explicit HeadlessPresentTest(headless::HeadlessConfig config = Keeping(1))
      : DeviceTest(std::move(config)) {}
  void SetUp() override { Open(Format::X8R8G8B8, kWidth, kHeight); }

  soft::SoftSurface& Back() { return Soft().BackBuffer(); }

  // Picture `picture` blitted over the whole back buffer, as the program
  // puts its Canvas on the screen.
  void BlitPicture(int32_t picture) {
    Dib dib(host.Gdi(), kWidth, kHeight, 32);
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t value = Picture(picture, x, y);
        std::memcpy(dib.At(x, y), &value, 4);
      }
    }
    OnBackBufferDc([&](Hdc dc) {
      ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dib.dc, 0, 0, Rop3::SrcCopy));
    });
  }
  void Box(int32_t left, int32_t top, uint32_t colorRef) {
    OnBackBufferDc([&](Hdc dc) {
      Hbrush brush = host.Gdi().CreateSolidBrush(colorRef);
      host.Gdi().FillRect(dc, Rect{left, top, left + 2, top + 2}, brush);
      host.Gdi().DeleteObject(brush);
    });
  }
  void Present() { ASSERT_EQ(device->Present(), D3dResult::Ok); }
  const headless::PresentedFrame& Frame(size_t index) { return host.Display().Frames().at(index); }
};

TEST_F(HeadlessPresentTest, TheBackBufferIsTheScreensMemoryWithoutPadding) {
  EXPECT_TRUE(Back().Lent());
  EXPECT_EQ(Back().Pitch(), kWidth * 4);
  BlitPicture(1);
  Present();
  const headless::PresentedFrame* screen = host.Display().LastFrame();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->Pixel(3, 5), Picture(1, 3, 5));
  EXPECT_EQ(screen->pixels.size(), static_cast<size_t>(kWidth * kHeight * 4));
}

TEST_F(HeadlessPresentTest, AFrameAskedForLaterStillShowsWhatWasPresented) {
  BlitPicture(1);
  Present();
  BlitPicture(2);  // moves the device to other memory
  EXPECT_EQ(host.Display().LastFrame()->Pixel(7, 2), Picture(1, 7, 2));
  EXPECT_EQ(Back().ReadPixel(7, 2), Picture(2, 7, 2));
  Present();
  EXPECT_EQ(host.Display().LastFrame()->Pixel(7, 2), Picture(2, 7, 2));
}

TEST_F(HeadlessPresentTest, DrawingOnPartOfThePresentedPictureKeepsTheRest) {
  BlitPicture(1);
  Present();
  Box(4, 4, 0x0000FFu);
  // The back buffer still holds the presented picture under the box.
  EXPECT_EQ(Back().ReadPixel(0, 0), Picture(1, 0, 0));
  EXPECT_EQ(Back().ReadPixel(4, 4) & 0x00FFFFFFu, 0x00FF0000u);
  EXPECT_EQ(host.Display().LastFrame()->Pixel(4, 4), Picture(1, 4, 4));
  Present();
  EXPECT_EQ(host.Display().LastFrame()->Pixel(0, 0), Picture(1, 0, 0));
  EXPECT_EQ(host.Display().LastFrame()->Pixel(5, 5) & 0x00FFFFFFu, 0x00FF0000u);
}

TEST_F(HeadlessPresentTest, AClearAfterAPresentLeavesThePresentedFrame) {
  BlitPicture(1);
  Present();
  device->Clear(0, nullptr, ClearFlag::Target, 0x00123456u, 0.0f, 0);
  EXPECT_EQ(Back().ReadPixel(1, 1), 0x00123456u);
  EXPECT_EQ(host.Display().LastFrame()->Pixel(1, 1), Picture(1, 1, 1));
}

TEST_F(HeadlessPresentTest, ALockAfterAPresentSeesThePresentedPicture) {
  BlitPicture(1);
  Present();
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  uint32_t raw = 0;
  std::memcpy(&raw, static_cast<uint8_t*>(locked.pBits) + 2 * locked.Pitch + 3 * 4, 4);
  EXPECT_EQ(raw, Picture(1, 3, 2));
  const uint32_t black = 0;
  std::memcpy(locked.pBits, &black, 4);  // written through the lock
  backBuffer->UnlockRect();
  backBuffer->Release();
  EXPECT_EQ(host.Display().LastFrame()->Pixel(0, 0), Picture(1, 0, 0));
  Present();
  EXPECT_EQ(host.Display().LastFrame()->Pixel(0, 0), 0u);
  EXPECT_EQ(host.Display().LastFrame()->Pixel(3, 2), Picture(1, 3, 2));
}

TEST_F(HeadlessPresentTest, TheSameBackBufferPresentedTwiceGivesTheSamePictureTwice) {
  host.Display().Config().keptFrames = 2;
  BlitPicture(1);
  Present();
  Present();
  BlitPicture(2);
  ASSERT_EQ(host.Display().Frames().size(), 2u);
  EXPECT_EQ(Frame(0).Pixel(6, 6), Picture(1, 6, 6));
  EXPECT_EQ(Frame(1).Pixel(6, 6), Picture(1, 6, 6));
}

TEST_F(HeadlessPresentTest, ABlitOfTheScreenOntoItselfAfterAPresentChangesNothing) {
  BlitPicture(1);
  Present();
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dc, 0, 0, Rop3::SrcCopy));
  });
  EXPECT_EQ(Back().ReadPixel(11, 7), Picture(1, 11, 7));
  EXPECT_EQ(host.Display().LastFrame()->Pixel(11, 7), Picture(1, 11, 7));
}

TEST_F(HeadlessPresentTest, ClearedFramesLeaveTheBackBufferAsItWas) {
  BlitPicture(1);
  Present();
  host.Display().ClearFrames();
  EXPECT_EQ(host.Display().LastFrame(), nullptr);
  Box(0, 0, 0x00FF00u);
  EXPECT_EQ(Back().ReadPixel(5, 5), Picture(1, 5, 5));
  Present();
  EXPECT_EQ(host.Display().LastFrame()->Pixel(5, 5), Picture(1, 5, 5));
}

TEST_F(HeadlessPresentTest, AResetTakesThePresentedFrameOutOfTheOldMemory) {
  BlitPicture(1);
  Present();
  PresentParameters parameters = Soft().Parameters();
  ASSERT_EQ(device->Reset(&parameters), D3dResult::Ok);
  EXPECT_EQ(Back().ReadPixel(2, 2), 0u);
  EXPECT_EQ(host.Display().LastFrame()->Pixel(2, 2), Picture(1, 2, 2));
}

class HeadlessKeepingTest : public HeadlessPresentTest {
 protected:
  HeadlessKeepingTest() : HeadlessPresentTest(Keeping(3)) {}
};

TEST_F(HeadlessKeepingTest, EveryKeptFrameHasItsOwnPicture) {
  for (int32_t picture = 1; picture <= 4; ++picture) {
    BlitPicture(picture);
    Present();
  }
  ASSERT_EQ(host.Display().Frames().size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(Frame(k).Pixel(9, 1), Picture(static_cast<int32_t>(k) + 2, 9, 1)) << k;
    EXPECT_EQ(Frame(k).sequence, k + 2);
  }
}

class HeadlessCopyingTest : public HeadlessPresentTest {
 protected:
  HeadlessCopyingTest() : HeadlessPresentTest(Keeping(2, false)) {}
};

TEST_F(HeadlessCopyingTest, WithoutLendingTheDeviceDrawsInItsOwnPaddedMemory) {
  EXPECT_FALSE(Back().Lent());
  EXPECT_GT(Back().Pitch(), kWidth * 4);
  BlitPicture(1);
  Present();
  BlitPicture(2);
  Present();
  EXPECT_EQ(Frame(0).Pixel(4, 3), Picture(1, 4, 3));
  EXPECT_EQ(Frame(1).Pixel(4, 3), Picture(2, 4, 3));
}

}  // namespace
}  // namespace drawing::platform::testing
