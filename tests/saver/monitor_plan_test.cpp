// The screen saver's monitor plan against the emulated desktop, which lists
// its monitors as Windows does: in its own order, the primary flagged and at
// 0,0, the others anywhere around it.
#include "saver/monitor_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulated_desktop.h"

namespace drawing::saver {
namespace {

using platform::MonitorInfo;
using platform::Rect;

std::string Text(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

struct Case {
  const char* name;
  std::vector<MonitorInfo> desktop;
  std::string primary;
  std::vector<std::string> others;
};

class MonitorPlanTest : public ::testing::TestWithParam<Case> {};

TEST_P(MonitorPlanTest, CoversEveryMonitorOnce) {
  NoNativeWindows host;
  platform::soft::SoftWindowing windowing(host);
  windowing.SetMonitors(GetParam().desktop);
  const std::optional<MonitorPlan> plan = PlanMonitors(windowing);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ(Text(plan->primary), GetParam().primary);
  std::vector<std::string> others;
  for (const Rect& other : plan->others) {
    others.push_back(Text(other));
  }
  EXPECT_EQ(others, GetParam().others);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, MonitorPlanTest,
    ::testing::Values(Case{"One", {Monitor({0, 0, 1920, 1080}, true)}, "0,0 1920x1080", {}},
                      Case{"TwoSideBySide",
                           {Monitor({0, 0, 1920, 1080}, true), Monitor({1920, 0, 3200, 1024})},
                           "0,0 1920x1080",
                           {"1920,0 1280x1024"}},
                      // Listed before the primary, left of and above it: negative coordinates.
                      Case{"ThreeAroundThePrimary",
                           {Monitor({-1280, -200, 0, 824}), Monitor({0, 0, 2560, 1440}, true),
                            Monitor({2560, 0, 4480, 1200})},
                           "0,0 2560x1440",
                           {"-1280,-200 1280x1024", "2560,0 1920x1200"}},
                      Case{"NoneFlaggedTheOneAtTheOrigin",
                           {Monitor({-800, 0, 0, 600}), Monitor({0, 0, 640, 480})},
                           "0,0 640x480",
                           {"-800,0 800x600"}},
                      Case{"NoneFlaggedNoneAtTheOriginTheFirst",
                           {Monitor({100, 0, 740, 480}), Monitor({740, 0, 1540, 600})},
                           "100,0 640x480",
                           {"740,0 800x600"}},
                      // A mirror repeats a rectangle; a monitor without area shows nothing.
                      Case{"MirrorsAndEmptyMonitorsLeftOut",
                           {Monitor({0, 0, 1280, 720}, true), Monitor({0, 0, 1280, 720}),
                            Monitor({1280, 0, 1280, 720}), Monitor({1280, 0, 2560, 720}),
                            Monitor({1280, 0, 2560, 720})},
                           "0,0 1280x720",
                           {"1280,0 1280x720"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(MonitorPlan, NoMonitorNoPlan) {
  NoNativeWindows host;
  platform::soft::SoftWindowing windowing(host);
  windowing.SetMonitors({Monitor({0, 0, 0, 0}, true)});
  EXPECT_FALSE(PlanMonitors(windowing).has_value());
  windowing.SetMonitors({});
  EXPECT_FALSE(PlanMonitors(windowing).has_value());
}

}  // namespace
}  // namespace drawing::saver
