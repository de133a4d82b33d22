// The Direct3D object: the module's loading steps, the adapter's modes in
// the host's order, format checks, caps and device creation.
#include <gtest/gtest.h>

#include "device_fixture.h"

namespace drawing::platform::testing {
namespace {

headless::HeadlessConfig WithModes(std::vector<DisplayMode> modes) {
  headless::HeadlessConfig config;
  config.display.modes = std::move(modes);
  return config;
}

TEST(SoftDirect3DModule, EachLoadingStepCanFail) {
  headless::HeadlessConfig config;
  config.direct3d.libraryMissing = true;
  headless::HeadlessHost missing(config);
  EXPECT_FALSE(missing.Direct3D().LoadLibrary());
  EXPECT_FALSE(missing.Direct3D().GetProcAddress());
  EXPECT_EQ(missing.Direct3D().Direct3DCreate9(32), nullptr);

  config.direct3d = {};
  config.direct3d.entryPointMissing = true;
  headless::HeadlessHost noEntry(config);
  EXPECT_TRUE(noEntry.Direct3D().LoadLibrary());
  EXPECT_FALSE(noEntry.Direct3D().GetProcAddress());
  EXPECT_EQ(noEntry.Direct3D().Direct3DCreate9(32), nullptr);

  config.direct3d = {};
  config.direct3d.createReturnsNull = true;
  headless::HeadlessHost noObject(config);
  EXPECT_TRUE(noObject.Direct3D().LoadLibrary());
  EXPECT_TRUE(noObject.Direct3D().GetProcAddress());
  EXPECT_EQ(noObject.Direct3D().Direct3DCreate9(32), nullptr);
}

TEST(SoftDirect3DModule, CreatesOnlyAfterLoadingAndForItsVersion) {
  headless::HeadlessHost host;
  soft::SoftDirect3DModule& module = host.Direct3D();
  EXPECT_EQ(module.Direct3DCreate9(32), nullptr);
  module.LoadLibrary();
  module.GetProcAddress();
  EXPECT_EQ(module.Direct3DCreate9(31), nullptr);
  Direct3D* direct3d = module.Direct3DCreate9(32);
  ASSERT_NE(direct3d, nullptr);
  EXPECT_EQ(module.Live().direct3d, 1);
  EXPECT_EQ(direct3d->Release(), 0u);
  EXPECT_EQ(module.Live().direct3d, 0);
}

class SoftDirect3DTest : public DeviceTest {
 protected:
  explicit SoftDirect3DTest(headless::HeadlessConfig config = {}) : DeviceTest(std::move(config)) {
    host.Direct3D().LoadLibrary();
    host.Direct3D().GetProcAddress();
    direct3d = host.Direct3D().Direct3DCreate9(32);
  }
  D3dResult Create(PresentParameters parameters, uint32_t flags, Hwnd window) {
    return direct3d->CreateDevice(0, DevType::Hal, window, flags, &parameters, &device);
  }
  static constexpr uint32_t kMixed = static_cast<uint32_t>(CreateFlag::MixedVertexProcessing);
};

class AdapterModesTest : public SoftDirect3DTest {
 protected:
  AdapterModesTest()
      : SoftDirect3DTest(WithModes({{800, 600, 60, Format::X8R8G8B8},
                                    {640, 480, 0, Format::X1R5G5B5},
                                    {640, 480, 75, Format::X8R8G8B8},
                                    {1024, 768, 60, Format::X8R8G8B8}})) {}
};

TEST_F(AdapterModesTest, ModesAreCountedAndNumberedPerFormatInTheHostsOrder) {
  EXPECT_EQ(direct3d->GetAdapterModeCount(0, Format::X8R8G8B8), 3u);
  EXPECT_EQ(direct3d->GetAdapterModeCount(0, Format::X1R5G5B5), 1u);
  EXPECT_EQ(direct3d->GetAdapterModeCount(0, Format::R5G6B5), 0u);
  EXPECT_EQ(direct3d->GetAdapterModeCount(1, Format::X8R8G8B8), 0u);
  DisplayMode mode;
  ASSERT_EQ(direct3d->EnumAdapterModes(0, Format::X8R8G8B8, 1, &mode), D3dResult::Ok);
  EXPECT_EQ(mode.Width, 640u);
  EXPECT_EQ(mode.RefreshRate, 75u);
  EXPECT_EQ(mode.format, Format::X8R8G8B8);
  ASSERT_EQ(direct3d->EnumAdapterModes(0, Format::X8R8G8B8, 2, &mode), D3dResult::Ok);
  EXPECT_EQ(mode.Width, 1024u);
  EXPECT_EQ(direct3d->EnumAdapterModes(0, Format::X8R8G8B8, 3, &mode), D3dResult::InvalidCall);
}

TEST_F(SoftDirect3DTest, CheckDeviceTypeAcceptsTheUsableFormatsFullScreen) {
  for (Format format : {Format::X8R8G8B8, Format::R5G6B5, Format::X1R5G5B5}) {
    EXPECT_EQ(direct3d->CheckDeviceType(0, DevType::Hal, format, format, false), D3dResult::Ok);
  }
  EXPECT_NE(direct3d->CheckDeviceType(0, DevType::Hal, Format::R8G8B8, Format::R8G8B8, false),
            D3dResult::Ok);
  EXPECT_NE(direct3d->CheckDeviceType(0, DevType::Hal, Format::X8R8G8B8, Format::X8R8G8B8, true),
            D3dResult::Ok);
  EXPECT_NE(direct3d->CheckDeviceType(0, DevType::Hal, Format::X8R8G8B8, Format::R5G6B5, false),
            D3dResult::Ok);
}

TEST_F(SoftDirect3DTest, TheHostDecidesTheUsableFormatsAndCaps) {
  host.Display().Config().usableFormats = {Format::R5G6B5};
  host.Display().Config().caps.DevCaps = 0;
  EXPECT_EQ(direct3d->CheckDeviceType(0, DevType::Hal, Format::R5G6B5, Format::R5G6B5, false),
            D3dResult::Ok);
  EXPECT_NE(direct3d->CheckDeviceType(0, DevType::Hal, Format::X1R5G5B5, Format::X1R5G5B5, false),
            D3dResult::Ok);
  Caps caps{0xFFFFFFFFu};
  ASSERT_EQ(direct3d->GetDeviceCaps(0, DevType::Hal, &caps), D3dResult::Ok);
  EXPECT_EQ(caps.DevCaps, 0u);
  // Without hardware transform and lighting only software vertex processing works.
  EXPECT_EQ(Create(FullScreen(8, 8, Format::R5G6B5), kMixed, Window()), D3dResult::InvalidCall);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::R5G6B5),
                   static_cast<uint32_t>(CreateFlag::SoftwareVertexProcessing), Window()),
            D3dResult::Ok);
}

TEST_F(SoftDirect3DTest, CreateDeviceRefusesWhatCannotBeShown) {
  EXPECT_EQ(Create(FullScreen(0, 0, Format::X8R8G8B8), kMixed, Window()), D3dResult::InvalidCall);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::Unknown), kMixed, Window()), D3dResult::InvalidCall);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::R8G8B8), kMixed, Window()), D3dResult::InvalidCall);
  PresentParameters windowed = FullScreen(8, 8, Format::X8R8G8B8);
  windowed.Windowed = true;
  EXPECT_EQ(Create(windowed, kMixed, Window()), D3dResult::InvalidCall);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, nullptr), D3dResult::InvalidCall);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), 0, Window()), D3dResult::InvalidCall);
  EXPECT_EQ(device, nullptr);
  EXPECT_EQ(host.Direct3D().Live().devices, 0);
  EXPECT_FALSE(host.Display().DeviceOpen());
}

TEST_F(SoftDirect3DTest, CreateDeviceOpensTheScreenAtTheRequestedMode) {
  PresentParameters parameters = FullScreen(40, 30, Format::R5G6B5);
  parameters.BackBufferCount = 0;
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, Window(), kMixed, &parameters, &device),
            D3dResult::Ok);
  EXPECT_EQ(parameters.BackBufferCount, 1u);
  EXPECT_TRUE(host.Display().DeviceOpen());
  EXPECT_EQ(host.Display().ScreenParameters().BackBufferWidth, 40u);
  EXPECT_EQ(host.Device(), device);
  EXPECT_EQ(Soft().BackBuffer().Desc().format, Format::R5G6B5);
  EXPECT_EQ(Soft().BehaviorFlags(), kMixed);
}

TEST_F(SoftDirect3DTest, ScriptedCreationFailureAndLostDevice) {
  host.Faults().Fail(headless::FaultyCall::CreateDevice, 1, D3dResult::NotAvailable);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, Window()), D3dResult::NotAvailable);
  host.Faults().LoseDevice(host.System().Now(), 10);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, Window()), D3dResult::DeviceLost);
  host.System().Sleep(10);
  EXPECT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, Window()), D3dResult::Ok);
}

TEST_F(SoftDirect3DTest, TheDeviceKeepsTheDirect3DObjectAlive) {
  ASSERT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, Window()), D3dResult::Ok);
  EXPECT_GT(direct3d->Release(), 0u);
  direct3d = nullptr;
  EXPECT_EQ(host.Direct3D().Live().direct3d, 1);
  device->Release();
  device = nullptr;
  EXPECT_EQ(host.Direct3D().Live().Total(), 0);
}

TEST_F(SoftDirect3DTest, TheScreenStaysOpenWhileAnyDeviceLives) {
  ASSERT_EQ(Create(FullScreen(8, 8, Format::X8R8G8B8), kMixed, Window()), D3dResult::Ok);
  Device* second = nullptr;
  PresentParameters parameters = FullScreen(8, 8, Format::X8R8G8B8);
  ASSERT_EQ(direct3d->CreateDevice(0, DevType::Hal, Window(), kMixed, &parameters, &second),
            D3dResult::Ok);
  second->Release();
  EXPECT_TRUE(host.Display().DeviceOpen());
  device->Release();
  device = nullptr;
  EXPECT_FALSE(host.Display().DeviceOpen());
}

}  // namespace
}  // namespace drawing::platform::testing
