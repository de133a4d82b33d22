// The one mode of a host that shows the device in a window it does not size.
#include <gtest/gtest.h>

#include "platform/soft/kit/window_sized_host.h"

namespace drawing::platform::soft {
namespace {

class SizedWindow final : public WindowSizedHost {
 public:
  D3dResult CreateDevice(const PresentParameters&) override { return D3dResult::Ok; }
  D3dResult Reset(const PresentParameters&) override { return D3dResult::Ok; }
  D3dResult Present(const ConstRows&, const Damage&) override { return D3dResult::Ok; }

  DisplayMode size{152, 112, 75};

 private:
  DisplayMode WindowMode() const override { return size; }
};

TEST(WindowSizedHost, OffersTheWindowAsItIsNowAt32BitsOnly) {
  SizedWindow host;
  EXPECT_EQ(host.ModeCount(Format::X8R8G8B8), 1u);
  EXPECT_EQ(host.ModeCount(Format::R5G6B5), 0u);
  EXPECT_FALSE(host.IsUsableFormat(Format::R5G6B5));
  DisplayMode mode;
  EXPECT_FALSE(host.Mode(Format::X8R8G8B8, 1, &mode));
  EXPECT_FALSE(host.Mode(Format::R5G6B5, 0, &mode));
  host.size = DisplayMode{640, 480, 0};
  ASSERT_TRUE(host.Mode(Format::X8R8G8B8, 0, &mode));
  EXPECT_EQ(mode.Width, 640u);
  EXPECT_EQ(mode.Height, 480u);
  EXPECT_EQ(mode.RefreshRate, 0u);
  EXPECT_EQ(mode.format, Format::X8R8G8B8);
  EXPECT_EQ(host.TestCooperativeLevel(), D3dResult::Ok);
}

}  // namespace
}  // namespace drawing::platform::soft
