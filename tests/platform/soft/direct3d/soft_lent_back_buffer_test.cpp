// A back buffer in memory the host lends: the device draws straight into it,
// hands it to Present as it is, and follows the host when it moves it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/direct3d/soft_device.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {
namespace {

constexpr uint32_t kWidth = 8;
constexpr uint32_t kHeight = 4;
constexpr int32_t kPitch = 40;  // wider than a row, as host memory may be

class LendingHost final : public DisplayHost, private BackBufferLease {
 public:
  uint32_t ModeCount(Format format) override { return format == Format::X8R8G8B8 ? 1 : 0; }
  bool Mode(Format format, uint32_t index, DisplayMode* mode) override {
    if (format != Format::X8R8G8B8 || index != 0) {
      return false;
    }
    *mode = DisplayMode{kWidth, kHeight, 60, Format::X8R8G8B8};
    return true;
  }
  bool IsUsableFormat(Format format) override { return format == Format::X8R8G8B8; }
  Caps DeviceCaps() override { return Caps{}; }
  D3dResult CreateDevice(const PresentParameters& /*parameters*/) override { return D3dResult::Ok; }
  D3dResult TestCooperativeLevel() override { return D3dResult::Ok; }
  D3dResult Reset(const PresentParameters& /*parameters*/) override {
    if (failReset) {
      current = 1 - current;  // the old memory is taken back
      return D3dResult::DeviceLost;
    }
    return D3dResult::Ok;
  }
  D3dResult Present(const ConstRows& frame, const Damage& /*changed*/) override {
    presented.push_back(frame.first);
    if (moveOnPresent) {
      current = 1 - current;
    }
    return D3dResult::Ok;
  }
  BackBufferLease* LendBackBuffer(const PresentParameters& /*parameters*/) override {
    return lend ? this : nullptr;
  }
  Rows Pixels() override {
    return Rows::TopDown(buffers[current].data(), kPitch, kWidth, kHeight, PixelLayout::Bgrx32);
  }

  bool lend = true;
  bool moveOnPresent = false;
  bool failReset = false;
  int current = 0;
  std::vector<uint8_t> buffers[2] = {std::vector<uint8_t>(kPitch * kHeight, 0xEE),
                                     std::vector<uint8_t>(kPitch* kHeight, 0xEE)};
  std::vector<const uint8_t*> presented;
};

class LentBackBufferTest : public ::testing::Test {
 protected:
  void Open() {
    ASSERT_TRUE(module_.LoadLibrary());
    ASSERT_TRUE(module_.GetProcAddress());
    direct3d_ = module_.Direct3DCreate9(32);
    ASSERT_NE(direct3d_, nullptr);
    parameters_.BackBufferWidth = kWidth;
    parameters_.BackBufferHeight = kHeight;
    parameters_.BackBufferFormat = Format::X8R8G8B8;
    parameters_.BackBufferCount = 1;
    parameters_.swapEffect = SwapEffect::Flip;
    parameters_.hDeviceWindow = reinterpret_cast<Hwnd>(this);
    parameters_.Flags = static_cast<uint32_t>(PresentFlag::LockableBackbuffer);
    ASSERT_EQ(direct3d_->CreateDevice(0, DevType::Hal, parameters_.hDeviceWindow,
                                      static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing),
                                      &parameters_, &device_),
              D3dResult::Ok);
  }
  void TearDown() override {
    if (device_ != nullptr) {
      device_->Release();
    }
    if (direct3d_ != nullptr) {
      direct3d_->Release();
    }
  }
  uint32_t Pixel(int buffer, uint32_t x, uint32_t y) const {
    const uint8_t* p = host_.buffers[buffer].data() + y * kPitch + x * 4;
    return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24));
  }
  void ClearTo(uint32_t colour) {
    ASSERT_EQ(device_->Clear(0, nullptr, ClearFlag::Target, colour, 0.0f, 0), D3dResult::Ok);
  }

  LendingHost host_;
  SoftGdi gdi_;
  SoftDirect3DModule module_{host_, gdi_};
  Direct3D* direct3d_ = nullptr;
  Device* device_ = nullptr;
  PresentParameters parameters_;
};

TEST_F(LentBackBufferTest, TheDeviceDrawsInTheLentMemoryWhichStartsBlack) {
  Open();
  EXPECT_EQ(Pixel(0, kWidth - 1, kHeight - 1), 0u);
  EXPECT_EQ(host_.buffers[0][kWidth * 4], 0xEE);  // the padding is the host's
  ClearTo(0x00123456u);
  ASSERT_EQ(device_->Present(), D3dResult::Ok);
  ASSERT_EQ(host_.presented.size(), 1u);
  EXPECT_EQ(host_.presented[0], host_.buffers[0].data());
  // The clear is in the lent memory by the time the host is shown it.
  EXPECT_EQ(Pixel(0, 3, 2) & 0x00FFFFFFu, 0x00123456u);
}

TEST_F(LentBackBufferTest, LockingTheBackBufferGivesTheLentMemoryWithItsPitch) {
  Open();
  Surface* backBuffer = nullptr;
  ASSERT_EQ(device_->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::None), D3dResult::Ok);
  EXPECT_EQ(locked.pBits, host_.buffers[0].data());
  EXPECT_EQ(locked.Pitch, kPitch);
  backBuffer->UnlockRect();
  backBuffer->Release();
}

TEST_F(LentBackBufferTest, TheDeviceFollowsMemoryTheHostMovedDuringPresent) {
  host_.moveOnPresent = true;
  Open();
  ASSERT_EQ(device_->Present(), D3dResult::Ok);
  ClearTo(0x00ABCDEFu);
  ASSERT_EQ(device_->Present(), D3dResult::Ok);
  EXPECT_EQ(host_.presented[1], host_.buffers[1].data());
  EXPECT_EQ(Pixel(1, 0, 0) & 0x00FFFFFFu, 0x00ABCDEFu);
}

TEST_F(LentBackBufferTest, AFailedResetLeavesTheDeviceInTheMemoryTheHostGivesNow) {
  host_.failReset = true;
  Open();
  Surface* backBuffer = nullptr;
  EXPECT_EQ(device_->Reset(&parameters_), D3dResult::DeviceLost);
  ClearTo(0x00010203u);
  ASSERT_EQ(device_->GetBackBuffer(0, 0, BackBufferType::Mono, &backBuffer), D3dResult::Ok);
  LockedRect locked;
  ASSERT_EQ(backBuffer->LockRect(&locked, nullptr, LockFlag::ReadOnly), D3dResult::Ok);
  EXPECT_EQ(locked.pBits, host_.buffers[1].data());
  EXPECT_EQ(Pixel(1, 1, 1) & 0x00FFFFFFu, 0x00010203u);
  backBuffer->UnlockRect();
  backBuffer->Release();
}

TEST_F(LentBackBufferTest, AClearBeforeAFailedResetReachesTheMemoryTheHostGivesNow) {
  host_.failReset = true;
  Open();
  ClearTo(0x00445566u);
  EXPECT_EQ(device_->Reset(&parameters_), D3dResult::DeviceLost);
  ASSERT_EQ(device_->Present(), D3dResult::Ok);
  EXPECT_EQ(host_.presented[0], host_.buffers[1].data());
  EXPECT_EQ(Pixel(1, kWidth - 1, kHeight - 1) & 0x00FFFFFFu, 0x00445566u);
}

TEST_F(LentBackBufferTest, WithoutLendingTheDeviceUsesItsOwnMemory) {
  host_.lend = false;
  Open();
  ClearTo(0x00FFFFFFu);
  ASSERT_EQ(device_->Present(), D3dResult::Ok);
  EXPECT_NE(host_.presented[0], host_.buffers[0].data());
  EXPECT_EQ(Pixel(0, 0, 0), 0xEEEEEEEEu);
}

}  // namespace
}  // namespace drawing::platform::soft
