// The software device's screen on SDL: modes, the renderer behind a device,
// presentation and render-device loss, with SDL's dummy video driver.
#include "platform/hosts/sdl/sdl_display_host.h"

#include <vector>

#include "platform/hosts/sdl/sdl_modes.h"
#include "sdl_fixture.h"

namespace drawing::platform::sdl {
namespace {

// Every pixel of `frame` changed.
soft::Damage All(const ConstRows& frame) {
  return soft::Damage(frame.width, frame.height);
}

using testing::ProcedureLog;
using testing::PumpAll;
using testing::PushType;

class StillClock final : public soft::PaceClock {
 public:
  uint64_t NowMicroseconds() override { return now; }
  void SleepUntil(uint64_t microseconds) override {
    ++sleeps;
    now = microseconds;
  }
  uint64_t now = 0;
  int sleeps = 0;
};

class SdlDisplayHostTest : public testing::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    window_ = testing::MakeWindow(windowing_, log_);
    ASSERT_NE(window_, nullptr);
    windowing_.AddEventSink(&host_);
    ASSERT_TRUE(host_.Start());
    pixels_.assign(64 * 4 * 48, 0x7F);
  }
  void TearDown() override {
    host_.DeviceReleased();
    SdlTest::TearDown();
  }

  PresentParameters Parameters(PresentInterval interval = PresentInterval::One) const {
    PresentParameters parameters;
    parameters.BackBufferWidth = 64;
    parameters.BackBufferHeight = 48;
    parameters.BackBufferFormat = Format::X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.hDeviceWindow = window_;
    parameters.PresentationInterval = interval;
    return parameters;
  }

  ConstRows Frame() const {
    return ConstRows::TopDown(pixels_.data(), 64 * 4, 64, 48, PixelLayout::Bgrx32);
  }

  SdlWindowing windowing_;
  ProcedureLog log_;
  Hwnd window_ = nullptr;
  StillClock clock_;
  SdlDisplayHost host_{windowing_, clock_};
  std::vector<uint8_t> pixels_;
};

TEST_F(SdlDisplayHostTest, TheDisplaysModesAreTheAdaptersModes) {
  const uint32_t total = host_.ModeCount(Format::X8R8G8B8) + host_.ModeCount(Format::R5G6B5) +
                         host_.ModeCount(Format::X1R5G5B5);
  ASSERT_GT(total, 0u);
  const std::vector<DisplayMode> listed = ReadDisplayModes(0);
  ASSERT_EQ(listed.size(), total);
  DisplayMode first;
  ASSERT_TRUE(host_.Mode(listed[0].format, 0, &first));
  EXPECT_EQ(first.Width, listed[0].Width);
  EXPECT_EQ(first.Height, listed[0].Height);
  EXPECT_FALSE(host_.Mode(Format::X8R8G8B8, host_.ModeCount(Format::X8R8G8B8), &first));
  EXPECT_TRUE(host_.IsUsableFormat(Format::X8R8G8B8));
  EXPECT_FALSE(host_.IsUsableFormat(Format::R8G8B8));
}

TEST(SdlModes, ThirtyTwoBitLayoutsAreX8R8G8B8AndSixteenBitOnesKeepTheirKind) {
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_RGB888), Format::X8R8G8B8);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_XRGB8888), Format::X8R8G8B8);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_ARGB8888), Format::X8R8G8B8);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_BGRA8888), Format::X8R8G8B8);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_RGB565), Format::R5G6B5);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_RGB555), Format::X1R5G5B5);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_ARGB1555), Format::X1R5G5B5);
}

TEST(SdlModes, OtherLayoutsAreLeftOut) {
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_RGB24), Format::Unknown);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_INDEX8), Format::Unknown);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_RGB332), Format::Unknown);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_ARGB2101010), Format::X8R8G8B8);
  EXPECT_EQ(FormatOfSdlPixels(SDL_PIXELFORMAT_UNKNOWN), Format::Unknown);
}

TEST(SdlModes, ModesComeInTheOrderADirect3DAdapterEnumeratesThem) {
  // SDL's order: largest first. The program keeps the last of the widest
  // modes, so this order would open 1920x1200 on one platform, 1920x1080 on another.
  const SDL_DisplayMode listed[] = {{SDL_PIXELFORMAT_RGB888, 1920, 1200, 60, nullptr},
                                    {SDL_PIXELFORMAT_RGB888, 1920, 1080, 75, nullptr},
                                    {SDL_PIXELFORMAT_RGB888, 1920, 1080, 60, nullptr},
                                    {SDL_PIXELFORMAT_RGB24, 1600, 1200, 60, nullptr},
                                    {SDL_PIXELFORMAT_RGB565, 1280, 1024, 60, nullptr}};
  const std::vector<DisplayMode> modes = AdapterModesOf(listed);
  ASSERT_EQ(modes.size(), 4u);
  const uint32_t expected[4][3] = {
      {1280, 1024, 60}, {1920, 1080, 60}, {1920, 1080, 75}, {1920, 1200, 60}};
  for (size_t i = 0; i < modes.size(); ++i) {
    EXPECT_EQ(modes[i].Width, expected[i][0]) << i;
    EXPECT_EQ(modes[i].Height, expected[i][1]) << i;
    EXPECT_EQ(modes[i].RefreshRate, expected[i][2]) << i;
  }
  EXPECT_EQ(modes[0].format, Format::R5G6B5);
}

TEST(SdlModes, TextureFormatsHaveTheBackBuffersByteOrder) {
  EXPECT_EQ(SdlPixelsOfFormat(Format::X8R8G8B8), static_cast<uint32_t>(SDL_PIXELFORMAT_RGB888));
  EXPECT_EQ(SdlPixelsOfFormat(Format::R5G6B5), static_cast<uint32_t>(SDL_PIXELFORMAT_RGB565));
  EXPECT_EQ(SdlPixelsOfFormat(Format::X1R5G5B5), static_cast<uint32_t>(SDL_PIXELFORMAT_RGB555));
}

TEST_F(SdlDisplayHostTest, ADeviceIsARendererOnTheScreenWindow) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  EXPECT_TRUE(host_.DeviceOpen());
  EXPECT_STRNE(host_.RendererName(), "");
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::Ok);
  EXPECT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::Ok);
  EXPECT_EQ(host_.PresentedCount(), 1u);
  host_.DeviceReleased();
  EXPECT_FALSE(host_.DeviceOpen());
}

TEST_F(SdlDisplayHostTest, AnUnknownWindowRefusesTheDevice) {
  PresentParameters parameters = Parameters();
  parameters.hDeviceWindow = reinterpret_cast<Hwnd>(&log_);
  EXPECT_TRUE(Failed(host_.CreateDevice(parameters)));
  EXPECT_FALSE(host_.DeviceOpen());
}

TEST_F(SdlDisplayHostTest, AFrameOfAnotherSizeIsNotShown) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  ConstRows wrong = Frame();
  wrong.width = 32;
  EXPECT_EQ(host_.Present(wrong, All(wrong)), D3dResult::InvalidCall);
  EXPECT_EQ(host_.PresentedCount(), 0u);
}

TEST_F(SdlDisplayHostTest, ARenderDeviceResetLosesTheDeviceUntilItIsReset) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  PushType(SDL_RENDER_DEVICE_RESET);
  PumpAll(windowing_);
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::DeviceLost);
  EXPECT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::DeviceLost);
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::DeviceNotReset);
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::DeviceNotReset);
  ASSERT_EQ(host_.Reset(Parameters()), D3dResult::Ok);
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::Ok);
  EXPECT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::Ok);
}

TEST_F(SdlDisplayHostTest, LostRenderTargetsLoseTheDeviceToo) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  PushType(SDL_RENDER_TARGETS_RESET);
  PumpAll(windowing_);
  EXPECT_EQ(host_.TestCooperativeLevel(), D3dResult::DeviceLost);
}

TEST_F(SdlDisplayHostTest, AResetMayChangeTheSize) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  PresentParameters smaller = Parameters();
  smaller.BackBufferWidth = 32;
  ASSERT_EQ(host_.Reset(smaller), D3dResult::Ok);
  ConstRows frame = Frame();
  frame.width = 32;
  EXPECT_EQ(host_.Present(frame, All(frame)), D3dResult::Ok);
}

TEST_F(SdlDisplayHostTest, PresentsThatComeTooSoonArePacedToTheRefreshRate) {
  ASSERT_EQ(host_.CreateDevice(Parameters(PresentInterval::One)), D3dResult::Ok);
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::Ok);
  }
  EXPECT_EQ(clock_.sleeps, 2);
  EXPECT_EQ(clock_.now, 2 * host_.Pacer().PeriodMicroseconds());
}

TEST_F(SdlDisplayHostTest, ImmediatePresentationIsNotPaced) {
  ASSERT_EQ(host_.CreateDevice(Parameters(PresentInterval::Immediate)), D3dResult::Ok);
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::Ok);
  }
  EXPECT_EQ(clock_.sleeps, 0);
}

TEST_F(SdlDisplayHostTest, TheLockedTextureIsLentAndPresentedWithoutACopy) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  soft::BackBufferLease* lease = host_.LendBackBuffer(Parameters());
  ASSERT_NE(lease, nullptr);
  Rows lent = lease->Pixels();
  ASSERT_NE(lent.first, nullptr);
  ASSERT_GE(lent.step, 64 * 4);
  for (uint32_t frame = 1; frame <= 3; ++frame) {
    lent.first[0] = static_cast<uint8_t>(frame);  // drawing lands in the texture
    ASSERT_EQ(host_.Present(lent, All(lent)), D3dResult::Ok);
    lent = lease->Pixels();
    ASSERT_NE(lent.first, nullptr);
  }
  EXPECT_EQ(host_.PresentedCount(), 3u);
  EXPECT_EQ(host_.CopiedCount(), 0u);
}

TEST_F(SdlDisplayHostTest, ABackBufferInTheDevicesOwnMemoryIsUploaded) {
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  ASSERT_NE(host_.LendBackBuffer(Parameters()), nullptr);
  ASSERT_EQ(host_.Present(Frame(), All(Frame())), D3dResult::Ok);
  EXPECT_EQ(host_.CopiedCount(), 1u);
  EXPECT_EQ(host_.PresentedCount(), 1u);
}

TEST_F(SdlDisplayHostTest, OnlyABackBufferOfTheTexturesShapeIsLent) {
  EXPECT_EQ(host_.LendBackBuffer(Parameters()), nullptr);  // no device yet
  ASSERT_EQ(host_.CreateDevice(Parameters()), D3dResult::Ok);
  PresentParameters other = Parameters();
  other.BackBufferHeight = 24;
  EXPECT_EQ(host_.LendBackBuffer(other), nullptr);
}

TEST(SdlDisplayHostStart, WithoutAVideoDriverTheHostDoesNotStart) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "no such driver");
  SdlWindowing windowing;
  StillClock clock;
  SdlDisplayHost host(windowing, clock);
  EXPECT_FALSE(host.Start());
  EXPECT_EQ(host.ModeCount(Format::X8R8G8B8), 0u);
  EXPECT_FALSE(host.IsUsableFormat(Format::X8R8G8B8));
  SDL_Quit();
}

TEST(SdlPresentPath, OnlyOpenGlInSoftwareGivesWayToTheWindowSurface) {
  EXPECT_TRUE(PrefersWindowSurface("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", false));
  EXPECT_TRUE(PrefersWindowSurface("opengles2", "softpipe", false));
  EXPECT_TRUE(PrefersWindowSurface("opengl", "Software Rasterizer", false));
  EXPECT_FALSE(PrefersWindowSurface("opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false));
  EXPECT_FALSE(PrefersWindowSurface("opengl", "llvmpipe", true));  // the user named the driver
  EXPECT_FALSE(PrefersWindowSurface("software", "", false));
}

TEST_F(SdlDisplayHostTest, TheWindowSurfaceIsLentAndShownWithoutARenderer) {
  SdlDisplayHost host{windowing_, clock_, PresentPath::WindowSurface};
  // No events are pumped after this test body, when `host` is gone.
  windowing_.AddEventSink(&host);
  SDL_Window* window = windowing_.SdlWindow(window_);
  SDL_SetWindowSize(window, 64, 48);
  ASSERT_EQ(host.CreateDevice(Parameters()), D3dResult::Ok);
  EXPECT_TRUE(host.PresentsThroughWindowSurface());
  EXPECT_EQ(host.Renderer(), nullptr);
  soft::BackBufferLease* lease = host.LendBackBuffer(Parameters());
  ASSERT_NE(lease, nullptr);
  Rows lent = lease->Pixels();
  ASSERT_EQ(lent.first, SDL_GetWindowSurface(window)->pixels);
  for (int frame = 1; frame <= 3; ++frame) {
    lent.first[0] = static_cast<uint8_t>(frame);
    ASSERT_EQ(host.Present(lent, All(lent)), D3dResult::Ok);
    lent = lease->Pixels();
  }
  EXPECT_EQ(host.PresentedCount(), 3u);
  EXPECT_EQ(host.CopiedCount(), 0u);
  EXPECT_EQ(clock_.sleeps, 2);  // no retrace wait of its own: paced

  // A frame in memory of its own lands in the surface, cut to its size.
  SDL_SetWindowSize(window, 32, 16);
  PumpAll(windowing_);
  ASSERT_EQ(host.Present(Frame(), All(Frame())), D3dResult::Ok);  // dropped: the surface changed
  EXPECT_EQ(host.PresentedCount(), 3u);
  ASSERT_EQ(host.Present(Frame(), All(Frame())), D3dResult::Ok);
  EXPECT_EQ(host.PresentedCount(), 4u);
  EXPECT_EQ(host.CopiedCount(), 1u);
  const SDL_Surface* surface = SDL_GetWindowSurface(window);
  EXPECT_EQ(surface->w, 32);
  EXPECT_EQ(static_cast<const uint8_t*>(surface->pixels)[0], 0x7F);
  host.DeviceReleased();
  EXPECT_FALSE(host.DeviceOpen());
}

}  // namespace
}  // namespace drawing::platform::sdl
