// The frame's copy of the Canvas over the back buffer, cut down to what
// changed: a DIB section whose writes are reported is copied only where it
// changed and where something was drawn over the last copy; one whose writes
// are not reported is copied whole every time.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "device_fixture.h"
#include "platform/soft/gdi/soft_gdi_fixture.h"

namespace drawing::platform::testing {
namespace {

using soft::testing::Dib;

constexpr int32_t kWidth = 96;  // three tiles by two
constexpr int32_t kHeight = 64;

class ChangedCopyTest : public DeviceTest {
 protected:
  void SetUp() override {
    Open(Format::X8R8G8B8, kWidth, kHeight);
    canvas = std::make_unique<Dib>(host.Gdi(), kWidth, kHeight, 32);
  }

  soft::SoftSurface& Back() { return Soft().BackBuffer(); }
  void Set(int32_t x, int32_t y, uint32_t value) { std::memcpy(canvas->At(x, y), &value, 4); }
  // One frame as the program draws it: a clear, the Canvas over all of it,
  // a box, the present.
  void Frame(const Rect& box) {
    ASSERT_EQ(device->Clear(0, nullptr, ClearFlag::Target, 0, 0.0f, 0), D3dResult::Ok);
    OnBackBufferDc([&](Hdc dc) {
      ASSERT_TRUE(host.Gdi().BitBlt(dc, 0, 0, kWidth, kHeight, canvas->dc, 0, 0, Rop3::SrcCopy));
      ASSERT_TRUE(host.Gdi().Rectangle(dc, box.left, box.top, box.right, box.bottom));
    });
  }

  std::unique_ptr<Dib> canvas;
};

TEST_F(ChangedCopyTest, OnlyReportedChangesAndWhatWasDrawnOverAreCopied) {
  host.Gdi().DibSectionWritten(canvas->bitmap, Rect{0, 0, kWidth, kHeight});
  Frame(Rect{40, 40, 44, 44});  // a box in the middle tile of the lower row
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  EXPECT_EQ(Back().ReadPixel(41, 41), 0xFFFFFFu);  // the white brush

  Set(5, 5, 0x123456u);
  host.Gdi().DibSectionWritten(canvas->bitmap, Rect{5, 5, 6, 6});
  Set(70, 5, 0x654321u);  // not reported: a tile nobody touched
  Frame(Rect{0, 60, 2, 62});
  EXPECT_EQ(Back().ReadPixel(5, 5), 0x123456u);
  EXPECT_EQ(Back().ReadPixel(70, 5), 0u);
  EXPECT_EQ(Back().ReadPixel(41, 41), 0u);  // last frame's box is copied over
  // What the host is told differs from the last frame: the change, the old
  // box and the new one, not the untouched tiles.
  EXPECT_TRUE(Back().Changed().Marked(5, 5));
  EXPECT_TRUE(Back().Changed().Marked(41, 41));
  EXPECT_TRUE(Back().Changed().Marked(1, 61));
  EXPECT_FALSE(Back().Changed().Marked(70, 5));
  EXPECT_EQ(Back().Changed().MarkedTiles(), 3);
}

TEST_F(ChangedCopyTest, WithoutReportedWritesEveryCopyIsWhole) {
  Frame(Rect{40, 40, 44, 44});
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  Set(70, 5, 0x654321u);
  Frame(Rect{40, 40, 44, 44});
  EXPECT_EQ(Back().ReadPixel(70, 5), 0x654321u);
  EXPECT_TRUE(Back().Changed().Whole());
}

TEST_F(ChangedCopyTest, ALockOfTheBackBufferIsCopiedOverNextTime) {
  host.Gdi().DibSectionWritten(canvas->bitmap, Rect{0, 0, kWidth, kHeight});
  Frame(Rect{0, 0, 1, 1});
  ASSERT_EQ(device->Present(), D3dResult::Ok);
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  std::memset(locked.pBits, 0x7F, 4);
  static_cast<uint8_t*>(locked.pBits)[locked.Pitch * 50 + 4 * 80] = 0x7F;
  ASSERT_EQ(backBuffer->UnlockRect(), D3dResult::Ok);
  backBuffer->Release();
  Frame(Rect{0, 0, 1, 1});
  EXPECT_EQ(Back().ReadPixel(80, 50), 0u);
}

}  // namespace
}  // namespace drawing::platform::testing
