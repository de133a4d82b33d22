// The saver's drawings on the other monitors, stepped from the primary
// program's frame loop on the emulated desktop: every monitor of the layout
// but the primary gets a drawing of its own at its size, each advances one
// frame per primary frame, and one whose monitor goes away ends alone.
#include "saver/other_monitors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "emulated_desktop.h"
#include "platform/hosts/headless/headless_host.h"

namespace drawing::saver {
namespace {

using platform::MonitorInfo;
using platform::Rect;
using platform::headless::HeadlessConfig;
using platform::headless::HeadlessHost;

// A monitor's screen on the headless host: one display mode, the monitor's size.
class HeadlessScreen final : public MonitorScreen {
 public:
  HeadlessScreen(const Rect& monitor, bool open) : host_(ConfigFor(monitor)), open_(open) {}
  bool Open() const override { return open_; }
  platform::Platform GetPlatform() override { return host_.GetPlatform(); }
  void BeginFrame() override { host_.BeginFrame(++frame_); }
  const std::atomic<bool>* StopRequest() const override { return &gone; }

  std::atomic<bool> gone{false};

 private:
  static HeadlessConfig ConfigFor(const Rect& monitor) {
    HeadlessConfig config;
    config.display.modes = {platform::DisplayMode{
        static_cast<uint32_t>(monitor.right - monitor.left),
        static_cast<uint32_t>(monitor.bottom - monitor.top), 60, platform::Format::X8R8G8B8}};
    return config;
  }

  HeadlessHost host_;
  bool open_;
  int32_t frame_ = 0;
};

// The primary program on the headless host over `desktop`, the others'
// drawings stepped from its frames; `closed` lists monitors whose screen
// cannot be opened.
class Saver {
 public:
  explicit Saver(std::vector<MonitorInfo> desktop, std::vector<size_t> closed = {})
      : others_([this, closed](const Rect& monitor) {
          const bool open = std::find(closed.begin(), closed.end(), made_) == closed.end();
          ++made_;
          auto screen = std::make_unique<HeadlessScreen>(monitor, open);
          screens.push_back(screen.get());
          return screen;
        }) {
    primaryHost_.Windowing().SetMonitors(std::move(desktop));
    app::ApplicationOptions options;
    options.seed = 7;
    options.beginFrame = [this](uint32_t frame) {
      primaryHost_.BeginFrame(static_cast<int32_t>(frame));
      others_.PrimaryFrameBegins(frame, primaryHost_.Windowing());
    };
    primary_ = std::make_unique<app::Application>(primaryHost_.GetPlatform(), options);
  }

  void RunFrames(int frames) {
    if (primary_->FrameNumber() == 0) {
      ASSERT_TRUE(primary_->StartUp());
    }
    for (int frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(primary_->RunFrame());
    }
  }
  const OtherMonitors& Others() const { return others_; }
  uint32_t PrimaryFrames() const { return primary_->FrameNumber(); }

  std::vector<HeadlessScreen*> screens;  // every screen made, in order

 private:
  size_t made_ = 0;
  HeadlessHost primaryHost_;
  OtherMonitors others_;
  std::unique_ptr<app::Application> primary_;
};

struct Layout {
  const char* name;
  std::vector<MonitorInfo> desktop;
  std::vector<Rect> others;  // in the order the system lists them
};

class OtherMonitorsLayoutTest : public ::testing::TestWithParam<Layout> {};

TEST_P(OtherMonitorsLayoutTest, EveryOtherMonitorDrawsItsOwnPictureAFrameAPrimaryFrame) {
  Saver saver(GetParam().desktop);
  saver.RunFrames(12);
  const std::vector<Rect>& others = GetParam().others;
  ASSERT_EQ(saver.Others().Running(), others.size());
  for (size_t i = 0; i < others.size(); ++i) {
    const app::Application& drawing = saver.Others().Drawing(i);
    EXPECT_EQ(drawing.State().ScreenWidth, others[i].right - others[i].left) << i;
    EXPECT_EQ(drawing.State().ScreenHeight, others[i].bottom - others[i].top) << i;
    EXPECT_EQ(drawing.FrameNumber(), saver.PrimaryFrames()) << i;
    // The swarm's colours drift by the drawing's own random numbers.
    for (size_t j = 0; j < i; ++j) {
      const app::Colour16 a = saver.Others().Drawing(j).State().HeadColour;
      const app::Colour16 b = drawing.State().HeadColour;
      EXPECT_TRUE(a.r != b.r || a.g != b.g || a.b != b.b)
          << "monitors " << j << " and " << i << " draw from the same random numbers";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, OtherMonitorsLayoutTest,
    ::testing::Values(Layout{"TwoTheOtherAboveLeft",
                             {Monitor({0, 0, 1920, 1080}, true), Monitor({-1280, -1024, 0, 0})},
                             {{-1280, -1024, 0, 0}}},
                      // Two of the same size, so only their own seeds tell them apart.
                      Layout{"ThreeLeftAndRight",
                             {Monitor({-1024, -200, 0, 568}), Monitor({0, 0, 1600, 900}, true),
                              Monitor({1600, 0, 2624, 768})},
                             {{-1024, -200, 0, 568}, {1600, 0, 2624, 768}}}),
    [](const ::testing::TestParamInfo<Layout>& layout) { return layout.param.name; });

TEST(OtherMonitorsTest, AMonitorGoneEndsItsDrawingAloneAndAScreenNotOpenedIsLeftOut) {
  Saver saver({Monitor({0, 0, 1024, 768}, true), Monitor({-640, 0, 0, 480}),
               Monitor({1024, 0, 1664, 480}), Monitor({0, 768, 640, 1248})},
              {1});
  saver.RunFrames(4);
  ASSERT_EQ(saver.screens.size(), 3u);
  ASSERT_EQ(saver.Others().Running(), 2u);
  saver.screens[0]->gone.store(true);
  saver.RunFrames(4);
  ASSERT_EQ(saver.Others().Running(), 1u);
  EXPECT_EQ(saver.Others().Drawing(0).State().ScreenHeight, 480);
  EXPECT_EQ(saver.Others().Drawing(0).FrameNumber(), saver.PrimaryFrames());
  saver.screens[2]->gone.store(true);
  saver.RunFrames(2);
  EXPECT_EQ(saver.Others().Running(), 0u);
}

}  // namespace
}  // namespace drawing::saver
