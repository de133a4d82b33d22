// A fill of the whole back buffer (a clear, a quad of one colour) is kept
// aside and written only when its pixels are used; a GDI copy over the whole
// screen drops it. Whatever the order of calls, every reader sees the pixels
// as if the fill had been written at once.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "device_fixture.h"
#include "platform/soft/gdi/soft_gdi_fixture.h"

namespace drawing::platform::testing {
namespace {

using soft::testing::Dib;

constexpr uint32_t kWidth = 16;
constexpr uint32_t kHeight = 12;
constexpr uint32_t kRed = 0x00FF0000u;    // as the device's Clear takes it (0xAARRGGBB)
constexpr uint32_t kBlue = 0x000000FFu;   //
constexpr uint32_t kStale = 0x00000000u;  // what a new back buffer holds

// The picture blitted onto the screen: a distinct colour per pixel.
uint32_t Picture(int32_t x, int32_t y) {
  return 0xFF000000u | (static_cast<uint32_t>(y) << 8) | static_cast<uint32_t>(x);
}

class DeferredFillTest : public DeviceTest {
 protected:
  void SetUp() override { Open(Format::X8R8G8B8, kWidth, kHeight); }

  soft::SoftSurface& Back() { return Soft().BackBuffer(); }
  uint32_t Pixel(uint32_t x, uint32_t y) { return Back().ReadPixel(x, y); }
  void Clear(uint32_t colour) {
    ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, colour, 0.0f, 0), D3dResult::Ok);
  }
  // The pixel as it lies in memory now, without writing what is kept aside.
  uint32_t MemoryPixel(uint32_t x, uint32_t y) {
    const soft::SoftGdi::SurfaceMemory memory = Back().Memory();
    uint32_t raw = 0;
    std::memcpy(&raw, memory.rows.Pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)), 4);
    return raw;
  }

  // A 32-bit DIB of the given size holding Picture.
  std::unique_ptr<Dib> PictureDib(int32_t width, int32_t height) {
    auto dib = std::make_unique<Dib>(host.Gdi(), width, height, 32);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t value = Picture(x, y);
        std::memcpy(dib->At(x, y), &value, 4);
      }
    }
    return dib;
  }
};

TEST_F(DeferredFillTest, AClearIsKeptAsideUntilThePixelsAreRead) {
  Clear(kRed);
  EXPECT_TRUE(Back().FillPending());
  EXPECT_EQ(MemoryPixel(3, 3), kStale);
  EXPECT_EQ(Pixel(0, 0), kRed);
  EXPECT_FALSE(Back().FillPending());
  EXPECT_EQ(MemoryPixel(kWidth - 1, kHeight - 1), kRed);
}

TEST_F(DeferredFillTest, ABlitOverTheWholeScreenDropsTheClearUnwritten) {
  Clear(kRed);
  auto dib = PictureDib(kWidth, kHeight);
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dib->dc, 0, 0, Rop3::SrcCopy));
    EXPECT_FALSE(Back().FillPending());
  });
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      ASSERT_EQ(Pixel(x, y), Picture(static_cast<int32_t>(x), static_cast<int32_t>(y)))
          << x << "," << y;
    }
  }
}

TEST_F(DeferredFillTest, ABlitCoveringPartOfTheScreenLeavesTheClearAroundIt) {
  Clear(kRed);
  auto dib = PictureDib(kWidth, kHeight);
  OnBackBufferDc([&](Hdc dc) {
    // Shifted one pixel left and up: the last column and row stay red.
    ASSERT_TRUE(host.Gdi().BitBlt(dc, -1, -1, kWidth, kHeight, dib->dc, 0, 0, Rop3::SrcCopy));
  });
  EXPECT_EQ(Pixel(0, 0), Picture(1, 1));
  EXPECT_EQ(Pixel(kWidth - 2, kHeight - 2), Picture(kWidth - 1, kHeight - 1));
  EXPECT_EQ(Pixel(kWidth - 1, 0), kRed);
  EXPECT_EQ(Pixel(0, kHeight - 1), kRed);
}

TEST_F(DeferredFillTest, ASmallerBitmapLeavesTheClearBesideIt) {
  Clear(kRed);
  auto dib = PictureDib(kWidth / 2, kHeight);
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dib->dc, 0, 0, Rop3::SrcCopy));
  });
  EXPECT_EQ(Pixel(kWidth / 2 - 1, 5), Picture(kWidth / 2 - 1, 5));
  EXPECT_EQ(Pixel(kWidth / 2, 5), kRed);
}

TEST_F(DeferredFillTest, ABlitThatCombinesWithTheScreenSeesTheClear) {
  Clear(kRed);
  auto dib = PictureDib(kWidth, kHeight);
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dib->dc, 0, 0, Rop3::NotSrcErase));
  });
  EXPECT_EQ(Pixel(2, 3), ~(Picture(2, 3) | kRed));
}

TEST_F(DeferredFillTest, ABoxDrawnThroughTheContextLandsOnTheClear) {
  Clear(kRed);
  OnBackBufferDc([&](Hdc dc) {
    Hbrush brush = host.Gdi().CreateSolidBrush(0x00FF00u);  // green
    ASSERT_EQ(host.Gdi().FillRect(dc, Rect{2, 2, 5, 5}, brush), 1);
    host.Gdi().DeleteObject(brush);
  });
  EXPECT_EQ(Pixel(3, 3) & 0x00FFFFFFu, 0x0000FF00u);
  EXPECT_EQ(Pixel(1, 1), kRed);
  EXPECT_EQ(Pixel(5, 5), kRed);
}

TEST_F(DeferredFillTest, ReadingTheScreenThroughItsContextSeesTheClear) {
  Clear(kRed);
  Dib copy(host.Gdi(), kWidth, kHeight, 32);
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(copy.dc, 0, 0, kWidth, kHeight, dc, 0, 0, Rop3::SrcCopy));
  });
  EXPECT_EQ(copy.Pixel32(0, 0), kRed);
  EXPECT_EQ(copy.Pixel32(kWidth - 1, kHeight - 1), kRed);
}

TEST_F(DeferredFillTest, ALockedBackBufferHoldsTheClear) {
  Clear(kBlue);
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  const auto* last = static_cast<const uint8_t*>(locked.pBits) +
                     static_cast<ptrdiff_t>(kHeight - 1) * locked.Pitch + (kWidth - 1) * 4;
  uint32_t raw = 0;
  std::memcpy(&raw, last, 4);
  EXPECT_EQ(raw, kBlue);
  backBuffer->UnlockRect();
  backBuffer->Release();
}

TEST_F(DeferredFillTest, PresentingWithoutABlitShowsTheClear) {
  Clear(kBlue);
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  const headless::PresentedFrame* frame = host.Display().LastFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Pixel(0, 0), kBlue);
  EXPECT_EQ(frame->Pixel(kWidth - 1, kHeight - 1), kBlue);
}

TEST_F(DeferredFillTest, PartialClearsLandOnAWholeClearKeptAside) {
  Clear(kRed);
  const Rect corner{0, 0, 2, 2};
  ASSERT_EQ(device->Clear(1, &corner, ClearFlag::Target, kBlue, 0.0f, 0), D3dResult::Ok);
  EXPECT_EQ(Pixel(1, 1), kBlue);
  EXPECT_EQ(Pixel(2, 2), kRed);
}

TEST_F(DeferredFillTest, TheLastOfTwoWholeClearsWins) {
  Clear(kRed);
  Clear(kBlue);
  EXPECT_EQ(Pixel(4, 4), kBlue);
}

TEST_F(DeferredFillTest, AClearOutlivesALostPresentAndGoesWithAReset) {
  Clear(kRed);
  host.Faults().LoseDevice(host.System().Now(), 10);
  EXPECT_EQ(device->Present(), D3dResult::DeviceLost);
  EXPECT_EQ(Pixel(5, 5), kRed);

  Clear(kBlue);
  host.System().Advance(20);
  ASSERT_EQ(device->TestCooperativeLevel(), D3dResult::DeviceNotReset);
  PresentParameters parameters = Soft().Parameters();
  ASSERT_EQ(device->Reset(&parameters), D3dResult::Ok);
  // A reset brings a new back buffer; the clear of the old one is gone.
  EXPECT_FALSE(Back().FillPending());
  EXPECT_EQ(Pixel(5, 5), kStale);
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(host.Display().LastFrame()->Pixel(5, 5), kStale);
}

class DeferredQuadTest : public DeferredFillTest {
 protected:
  Texture* Uniform(uint32_t width, uint32_t height, uint32_t texel) {
    return TextureWith(Format::A8R8G8B8, width, height,
                       std::vector<uint32_t>(static_cast<size_t>(width) * height, texel));
  }
};

TEST_F(DeferredQuadTest, AQuadOfOneColourOverTheScreenIsKeptAsideAndDroppedByTheBlit) {
  Clear(kRed);
  Texture* black = Uniform(kWidth, kHeight, 0x00000000u);
  ASSERT_EQ(DrawSprite(black, 0, 0, kWidth, kHeight), D3dResult::Ok);
  EXPECT_TRUE(Back().FillPending());
  EXPECT_EQ(Pixel(7, 7), 0x00000000u);

  Clear(kRed);
  ASSERT_EQ(DrawSprite(black, 0, 0, kWidth, kHeight), D3dResult::Ok);
  auto dib = PictureDib(kWidth, kHeight);
  OnBackBufferDc([&](Hdc dc) {
    ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, dib->dc, 0, 0, Rop3::SrcCopy));
  });
  EXPECT_FALSE(Back().FillPending());
  EXPECT_EQ(Pixel(7, 7), Picture(7, 7));
  black->Release();
}

TEST_F(DeferredQuadTest, AQuadOfOneColourOverPartOfTheScreenLandsOnTheClear) {
  Clear(kRed);
  Texture* green = Uniform(4, 4, 0xFF00FF00u);
  ASSERT_EQ(DrawSprite(green, 2, 3, 4, 4), D3dResult::Ok);
  EXPECT_EQ(Pixel(2, 3), 0xFF00FF00u);
  EXPECT_EQ(Pixel(5, 6), 0xFF00FF00u);
  EXPECT_EQ(Pixel(6, 6), kRed);
  EXPECT_EQ(Pixel(1, 3), kRed);
  green->Release();
}

TEST_F(DeferredQuadTest, ATextureChangedAfterItWasShownShowsItsNewPixels) {
  Texture* texture = Uniform(kWidth, kHeight, 0x11223344u);
  ASSERT_EQ(DrawSprite(texture, 0, 0, kWidth, kHeight), D3dResult::Ok);
  EXPECT_EQ(Pixel(4, 2), 0x11223344u);

  LockedRect locked;
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, LockFlag::None), D3dResult::Ok);
  const uint32_t changed = 0xFFABCDEFu;
  std::memcpy(static_cast<uint8_t*>(locked.pBits) + 2 * locked.Pitch + 4 * 4, &changed, 4);
  texture->UnlockRect(0);

  ASSERT_EQ(DrawSprite(texture, 0, 0, kWidth, kHeight), D3dResult::Ok);
  EXPECT_FALSE(Back().FillPending());
  EXPECT_EQ(Pixel(4, 2), changed);
  EXPECT_EQ(Pixel(5, 2), 0x11223344u);
  texture->Release();
}

TEST_F(DeferredQuadTest, AQuadOfManyColoursIsDrawnAtOnce) {
  Clear(kRed);
  Texture* texture = PatternTexture(kWidth, kHeight);
  ASSERT_EQ(DrawSprite(texture, 0, 0, kWidth, kHeight), D3dResult::Ok);
  EXPECT_FALSE(Back().FillPending());
  EXPECT_EQ(MemoryPixel(3, 4), Pattern(3, 4));
  texture->Release();
}

}  // namespace
}  // namespace drawing::platform::testing
