// The saver's drawings over other monitors in real windows, on the primary
// program's thread (under wine on Xvfb, see wine_adapters_test.sh; without
// a desktop it skips): a window destroyed under a drawing, or one over no
// monitor (as after it was unplugged), ends that drawing alone.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

#include "platform/win32/win32_api.h"
#include "saver/emulated_desktop.h"
#include "saver/other_monitors.h"
#include "saver/win32/win32_monitor_window_screen.h"

namespace drawing::saver {
namespace {

using platform::Rect;

TEST(Win32DesktopOtherMonitorsTest, AWindowDestroyedOrOverNoMonitorEndsItsDrawingAlone) {
  // The layout the saver is told of: two monitors on the real screen, far
  // from the top left where other desktop tests read the screen back, and
  // one where the real desktop has none, as after it was unplugged.
  NoNativeWindows host;
  platform::soft::SoftWindowing layout(host);
  layout.SetMonitors({Monitor({0, 0, 640, 480}, true), Monitor({800, 600, 960, 720}),
                      Monitor({640, 600, 800, 720}), Monitor({-9000, -9000, -8840, -8880})});
  std::atomic<bool> endSaver{false};
  std::vector<HWND> windows;
  OtherMonitors others([&](const Rect& monitor) {
    auto screen = std::make_unique<win32::MonitorWindowScreen>(monitor, endSaver);
    windows.push_back(platform::win32::ToNative(screen->Window()));
    return screen;
  });
  uint32_t frame = 0;
  const auto frames = [&](int count) {
    for (int i = 0; i < count; ++i) {
      others.PrimaryFrameBegins(++frame, layout);
    }
  };
  frames(3);
  if (windows.empty() || windows[0] == nullptr) {
    GTEST_SKIP() << "no desktop to create windows on";
  }
  ASSERT_EQ(windows.size(), 3u);
  ASSERT_EQ(others.Running(), 2u);
  EXPECT_EQ(others.Drawing(0).State().ScreenWidth, 160);
  EXPECT_EQ(others.Drawing(0).State().ScreenHeight, 120);
  EXPECT_FALSE(IsWindow(windows[2]));

  // A display change with the monitor still there ends nothing.
  SendMessageW(windows[0], WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
  DestroyWindow(windows[1]);
  frames(2);
  ASSERT_EQ(others.Running(), 1u);
  EXPECT_EQ(others.Drawing(0).FrameNumber(), frame);
  EXPECT_TRUE(IsWindowVisible(windows[0]));
  EXPECT_FALSE(endSaver.load());
}

}  // namespace
}  // namespace drawing::saver
