// Frames drawn and presented by what changed are the frames drawn whole:
// the same program run twice side by side, once with the device and the
// screen following changes and once with every frame whole, compared frame
// by frame. A rectangle missed once stays wrong for ever on a canvas that is
// never cleared, so one dropped on purpose must show.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "scenario.h"

namespace drawing::scenarios {
namespace {

using platform::headless::HeadlessConfig;

// A screen of one frame that takes each frame's changed rectangles (not the
// back buffer itself), as a real screen does.
ScenarioSetup ChangedOnly(ScenarioSetup setup, bool tracks,
                          std::function<void(std::vector<platform::Rect>&)> rects = {}) {
  setup.configure = [tracks, rects, extra = setup.configure](HeadlessConfig& config) {
    if (extra) {
      extra(config);
    }
    config.display.keptFrames = 1;
    config.display.lendBackBuffer = false;
    config.display.tracksChanges = tracks;
    config.display.screenRects = rects;
  };
  return setup;
}

// The first frame (counted from 1) at which the two screens differ, 0 when
// none does; every frame of both runs is compared as it is presented.
uint32_t FirstDifferentFrame(const ScenarioSetup& setup,
                             std::function<void(std::vector<platform::Rect>&)> rects = {}) {
  Scenario tracked(ChangedOnly(setup, true, std::move(rects)));
  Scenario whole(ChangedOnly(setup, false));
  const bool started = tracked.App().StartUp();
  EXPECT_EQ(started, whole.App().StartUp());
  uint32_t compared = 0;
  for (bool running = started; running;) {
    const bool a = tracked.App().RunFrame();
    const bool b = whole.App().RunFrame();
    EXPECT_EQ(a, b);
    running = a && b;
    const auto& left = tracked.Host().Display();
    const auto& right = whole.Host().Display();
    EXPECT_EQ(left.PresentedCount(), right.PresentedCount());
    if (left.PresentedCount() == compared || left.PresentedCount() != right.PresentedCount()) {
      continue;
    }
    compared = left.PresentedCount();
    if (left.LastFrame()->pixels != right.LastFrame()->pixels) {
      return compared;
    }
  }
  EXPECT_GT(compared, 0u);
  return 0;
}

TEST(ChangedFrames, DefaultSwarmMatchesWholeFramesEveryFrame) {
  ScenarioSetup setup;
  setup.width = 640;
  setup.height = 480;
  setup.maxFrames = 240;
  // And it is a small part of the screen that changes, not the whole.
  int64_t shown = 0;
  int64_t presents = 0;
  EXPECT_EQ(FirstDifferentFrame(setup,
                                [&](std::vector<platform::Rect>& rects) {
                                  ++presents;
                                  for (const platform::Rect& part : rects) {
                                    shown +=
                                        int64_t{part.right - part.left} * (part.bottom - part.top);
                                  }
                                }),
            0u);
  ASSERT_GT(presents, 200);
  EXPECT_LT(shown / presents, 640 * 480 / 10);
}

TEST(ChangedFrames, ThousandParticlesPastTheEdgesMatch) {
  // The button held adds a particle a frame; a small screen sends many of
  // them past its edges.
  ScenarioSetup setup;
  setup.width = 200;
  setup.height = 150;
  setup.maxFrames = 1040;
  setup.input = {At(5, InputEvent::Button(1, true))};
  EXPECT_EQ(FirstDifferentFrame(setup), 0u);
}

TEST(ChangedFrames, LostDeviceAndLostFocusInTheMiddleMatch) {
  ScenarioSetup setup;
  setup.maxFrames = 200;
  setup.input = {At(90, InputEvent::Focus(false)), At(110, InputEvent::Focus(true))};
  setup.configure = [](HeadlessConfig& config) { config.deviceLosses = {{40, 100}}; };
  EXPECT_EQ(FirstDifferentFrame(setup), 0u);
}

TEST(ChangedFrames, ADroppedRectangleShows) {
  ScenarioSetup setup;
  setup.maxFrames = 120;
  uint32_t presents = 0;
  const uint32_t different =
      FirstDifferentFrame(setup, [&presents](std::vector<platform::Rect>& rects) {
        // The 30th frame that goes by rectangles (the first is copied
        // whole) loses one of them.
        if (++presents == 30 && !rects.empty()) {
          rects.pop_back();
        }
      });
  EXPECT_EQ(different, 31u);
}

}  // namespace
}  // namespace drawing::scenarios
