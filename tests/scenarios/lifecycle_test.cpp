// Start-up and shutdown as a user of the screen sees them.
#include <gtest/gtest.h>

#include <sstream>

#include "scenario.h"
#include "support/emulation_recorder.h"

namespace drawing::scenarios {
namespace {

using platform::DisplayMode;
using platform::Format;

TEST(Lifecycle, WidestModeLastOfEqualWidthsIsOpened) {
  ScenarioSetup setup;
  setup.maxFrames = 1;
  platform::headless::HeadlessConfig config = HostConfig(setup);
  config.display.modes = {
      DisplayMode{1024, 768, 60, Format::X8R8G8B8}, DisplayMode{1280, 1024, 60, Format::X8R8G8B8},
      DisplayMode{1280, 960, 60, Format::X8R8G8B8}, DisplayMode{800, 600, 60, Format::R5G6B5}};
  platform::headless::HeadlessHost host(config);
  app::ApplicationOptions options;
  options.seed = 1;
  options.maxFrames = 1;
  app::Application application(host.GetPlatform(), options);
  ASSERT_TRUE(application.StartUp());
  EXPECT_EQ(application.State().ScreenWidth, 1280);
  EXPECT_EQ(application.State().ScreenHeight, 960);
  EXPECT_EQ(host.Display().ScreenParameters().BackBufferWidth, 1280u);
  EXPECT_EQ(host.Display().ScreenParameters().BackBufferHeight, 960u);
  EXPECT_EQ(host.Display().ScreenParameters().BackBufferFormat, Format::X8R8G8B8);
  const image::ImageRecord* canvas = application.Images().FindImage(0);
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->width, 1280);
  EXPECT_EQ(canvas->height, 960);
  EXPECT_EQ(canvas->depth, 32);
  application.Shutdown();
  // The registry went with the heap; asking for an image must not touch it.
  EXPECT_EQ(application.Images().FindImage(0), nullptr);
  EXPECT_EQ(application.Images().ImageHandle(0), nullptr);
}

TEST(Lifecycle, StartsWithTwentyParticlesAtTheOrigin) {
  ScenarioSetup setup;
  setup.maxFrames = 0;
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  ASSERT_TRUE(scenario.Started());
  const std::vector<app::ParticleValues> particles = scenario.Particles();
  ASSERT_EQ(particles.size(), 20u);
  for (size_t i = 0; i < particles.size(); ++i) {
    EXPECT_EQ(particles[i].x, 0.0);
    EXPECT_EQ(particles[i].y, 0.0);
    EXPECT_EQ(particles[i].blue, 13 * (19 - static_cast<int>(i)));
  }
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::FrameLimit);
  EXPECT_EQ(scenario.App().FrameNumber(), 0u);
  // The Canvas starts opaque black.
  EXPECT_EQ(scenario.CanvasPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(scenario.CanvasPixel(319, 239), 0xFF000000u);
}

TEST(Lifecycle, DeactivatingTheScreenWindowLetsTheMouseGo) {
  ScenarioSetup setup;
  setup.maxFrames = 2;
  Scenario* running = nullptr;
  support::EmulationRecorder recorder;
  // Only the window hears of it, in frame 2's message pump, and the input
  // devices keep their focus. The pump comes before the frame's polls, so
  // the mouse let go before any poll was let go by the application's wiring.
  setup.observe = [&running, &recorder](uint32_t frame, const app::AppState&) {
    if (frame == 2) {
      running->Host().Windowing().PostActivation(false);
      recorder.ClearInputCalls();
    }
  };
  Scenario scenario(setup);
  running = &scenario;
  scenario.Host().Input().SetObserver(&recorder);
  scenario.RunUntilEnd();
  ASSERT_TRUE(scenario.Started());
  EXPECT_TRUE(scenario.Host().Input().Focused());
  const auto& calls = recorder.InputCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].kind, platform::soft::InputCallKind::Unacquire);
  EXPECT_EQ(calls[0].device, platform::DeviceGuid::SysMouse);
}

TEST(Lifecycle, ShutdownGivesEverythingBack) {
  ScenarioSetup setup;
  setup.input = {At(30, InputEvent::KeyDown(1))};
  platform::headless::HeadlessHost host(HostConfig(setup));
  app::ApplicationOptions options;
  options.seed = 3;
  options.beginFrame = [&](uint32_t frame) { host.BeginFrame(static_cast<int32_t>(frame)); };
  app::Application application(host.GetPlatform(), options);
  EXPECT_EQ(application.Run(), 0);
  EXPECT_EQ(application.FrameNumber(), 30u);
  EXPECT_FALSE(host.Display().DeviceOpen());
  EXPECT_EQ(host.System().OpenTimePeriods(), 0);
  EXPECT_GE(host.Windowing().CursorCounter(), 0) << "cursor shown again";
  EXPECT_FALSE(host.Input().ObjectAlive());
  EXPECT_FALSE(host.Input().LibraryLoaded());
  EXPECT_EQ(application.Heap().LiveBlockCount(), 0u);
  EXPECT_EQ(host.Gdi().LiveObjectCount(), 0) << "the Canvas and every DC are gone";

  // After the shutdown a frame's parts do nothing (and touch nothing freed).
  const uint32_t presented = host.Display().PresentedCount();
  application.RenderFrame();
  EXPECT_FALSE(application.HandleUserActions());
  application.StepSimulation();
  EXPECT_EQ(host.Display().PresentedCount(), presented);
  EXPECT_EQ(host.Gdi().LiveObjectCount(), 0);
  EXPECT_EQ(application.Heap().LiveBlockCount(), 0u);
}

// The one line a run on `config` reports when it cannot open the screen.
std::string ScreenFailure(const platform::headless::HeadlessConfig& config) {
  platform::headless::HeadlessHost host(config);
  std::ostringstream errors;
  app::ApplicationOptions options;
  options.errors = &errors;
  app::Application application(host.GetPlatform(), options);
  EXPECT_EQ(application.Run(), 1);
  EXPECT_EQ(application.State().ScreenWidth, 0);
  return errors.str();
}

TEST(Lifecycle, ScreenThatCannotBeOpenedEndsWithStatusOne) {
  ScenarioSetup setup;
  platform::headless::HeadlessConfig config = HostConfig(setup);
  config.failures.push_back(
      {0, platform::headless::FaultyCall::CreateDevice, platform::headless::kFailAlways});
  platform::headless::HeadlessHost host(config);
  std::ostringstream errors;
  uint32_t frames = 0;
  app::ApplicationOptions options;
  options.errors = &errors;
  options.beginFrame = [&](uint32_t) { ++frames; };
  app::Application application(host.GetPlatform(), options);
  EXPECT_EQ(application.Run(), 1);
  EXPECT_EQ(frames, 0u);
  EXPECT_EQ(application.EndReason(), app::RunEnd::ScreenFailed);
  EXPECT_EQ(errors.str(),
            "drawing: cannot open the screen: the display refused the full-screen mode 320x240 "
            "at 32 bits per pixel\n");
  EXPECT_FALSE(host.Input().ObjectAlive());
  EXPECT_EQ(application.Heap().LiveBlockCount(), 0u);
}

TEST(Lifecycle, MissingDirect3DIsNamed) {
  platform::headless::HeadlessConfig config = HostConfig(ScenarioSetup{});
  config.direct3d.libraryMissing = true;
  EXPECT_EQ(ScreenFailure(config),
            "drawing: cannot open the screen: no Direct3D 9 display adapter with a display "
            "mode\n");
}

TEST(Lifecycle, NoDisplayModeIsNamed) {
  platform::headless::HeadlessConfig config = HostConfig(ScenarioSetup{});
  config.display.modes.clear();
  EXPECT_EQ(ScreenFailure(config),
            "drawing: cannot open the screen: no Direct3D 9 display adapter with a display "
            "mode\n");
}

}  // namespace
}  // namespace drawing::scenarios
