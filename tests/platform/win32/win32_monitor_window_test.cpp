// The saver's window over another monitor, on a real desktop (under wine on
// Xvfb through wine_adapters_test.sh; without a desktop it skips): above the
// rest, never activated, and ended as the program is, by a key or a move
// right or down, not by a click or a move left or up.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_monitor_window.h"
#include "platform/win32/win32_windowing.h"

namespace drawing::platform::win32 {
namespace {

// Far from the top left, where other desktop tests read the screen back
// while this one runs beside them.
constexpr Rect kMonitor{800, 600, 960, 720};

class Win32DesktopMonitorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!window.Open()) {
      GTEST_SKIP() << "no desktop to create windows on";
    }
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(ToNative(window.Window()), message, wParam, lParam);
  }
  void MoveTo(int x, int y) { Send(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

  std::atomic<bool> endSaver{false};
  MonitorWindow window{kMonitor, endSaver};
};

TEST_F(Win32DesktopMonitorWindowTest, CoversTheMonitorAboveTheRestWithoutTheFocus) {
  const HWND native = ToNative(window.Window());
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(native, &rect));
  EXPECT_EQ(rect.right - rect.left, 160);
  EXPECT_EQ(rect.bottom - rect.top, 120);
  EXPECT_EQ(window.Width(), 160);
  EXPECT_EQ(window.Height(), 120);
  const LONG_PTR exStyle = GetWindowLongPtrW(native, GWL_EXSTYLE);
  EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
  EXPECT_NE(exStyle & WS_EX_NOACTIVATE, 0);
  EXPECT_TRUE(IsWindowVisible(native));
  EXPECT_NE(GetForegroundWindow(), native);
  EXPECT_EQ(Send(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(native), HTCLIENT), MA_NOACTIVATE);
  EXPECT_TRUE(window.Pump());
}

TEST_F(Win32DesktopMonitorWindowTest, AMoveRightOrDownEndsTheSaverLeftOrUpDoesNot) {
  MoveTo(50, 50);  // where the mouse rests
  MoveTo(40, 50);
  MoveTo(40, 30);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(40, 30));
  EXPECT_FALSE(endSaver.load());
  EXPECT_TRUE(window.Pump());
  MoveTo(41, 30);
  EXPECT_TRUE(endSaver.load());
  EXPECT_FALSE(window.Pump());
}

TEST_F(Win32DesktopMonitorWindowTest, AKeyEndsTheSaver) {
  Send(WM_KEYDOWN, 'A');
  EXPECT_TRUE(endSaver.load());
  EXPECT_FALSE(window.Pump());
}

TEST_F(Win32DesktopMonitorWindowTest, TheEndOfTheSaverEndsEveryMonitorsWindow) {
  std::atomic<bool> shared{false};
  MonitorWindow other(Rect{640, 600, 800, 720}, shared);
  MonitorWindow third(Rect{480, 600, 640, 720}, shared);
  ASSERT_TRUE(other.Open() && third.Open());
  EXPECT_TRUE(other.Pump() && third.Pump());
  SendMessageW(ToNative(third.Window()), WM_SYSKEYDOWN, VK_MENU, 0);
  EXPECT_FALSE(other.Pump());
  EXPECT_FALSE(third.Pump());
}

}  // namespace
}  // namespace drawing::platform::win32
