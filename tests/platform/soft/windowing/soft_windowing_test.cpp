// The software window system, through the headless host: windows a test can
// read, the message queue and its dispatch to the class procedure, and
// activation as Windows sends it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/hosts/headless/headless_windowing.h"
#include "support/emulation_recorder.h"

namespace drawing::platform::testing {
namespace {

using headless::HeadlessWindowing;

struct Received {
  std::vector<Msg> messages;
  bool visibleDuringActivate = false;
  HeadlessWindowing* windowing = nullptr;
};

intptr_t RecordingProc(void* context, Hwnd window, uint32_t message, uintptr_t wParam,
                       intptr_t lParam) {
  auto* received = static_cast<Received*>(context);
  received->messages.push_back(Msg{window, message, wParam, lParam});
  if (message == static_cast<uint32_t>(Wm::Activate) && received->windowing != nullptr) {
    received->visibleDuringActivate = received->windowing->Window(window)->visible;
  }
  return static_cast<intptr_t>(message) + 1000;
}

class SoftWindowingTest : public ::testing::Test {
 protected:
  SoftWindowingTest() { windowing.SetObserver(&recorder); }

  Hwnd MakeWindow() {
    WndClassEx windowClass;
    windowClass.style = static_cast<uint32_t>(ClassStyle::DblClks);
    windowClass.windowProc = RecordingProc;
    windowClass.context = &received;
    windowClass.className = "MultimediaBase Class";
    EXPECT_TRUE(windowing.RegisterClassEx(windowClass));
    return windowing.CreateWindowEx(0, "MultimediaBase Class", "", 0x80000000u, 0, 0, 1, 1,
                                    windowing.GetModuleHandle());
  }

  support::EmulationRecorder recorder;
  HeadlessWindowing windowing;
  Received received{{}, false, &windowing};
};

TEST_F(SoftWindowingTest, WindowsKeepTitleSizeAndVisibility) {
  const Hwnd window = MakeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(windowing.SetWindowText(window, "drawing"));
  EXPECT_TRUE(windowing.MoveWindow(window, 0, 0, 640, 480, true));
  const soft::SoftWindow* state = windowing.Window(window);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->className, "MultimediaBase Class");
  EXPECT_EQ(state->title, "drawing");
  EXPECT_EQ(state->width, 640);
  EXPECT_EQ(state->height, 480);
  EXPECT_EQ(state->style, 0x80000000u);
  EXPECT_FALSE(state->visible);
  EXPECT_FALSE(windowing.SetWindowText(nullptr, "x"));
}

TEST_F(SoftWindowingTest, RegistrationFailsForADuplicateOrWithoutProcedure) {
  MakeWindow();
  WndClassEx again;
  again.windowProc = RecordingProc;
  again.className = "MultimediaBase Class";
  EXPECT_FALSE(windowing.RegisterClassEx(again));
  WndClassEx noProc;
  noProc.className = "other";
  EXPECT_FALSE(windowing.RegisterClassEx(noProc));
  EXPECT_EQ(windowing.CreateWindowEx(0, "unknown", "", 0, 0, 0, 1, 1, nullptr), nullptr);
}

TEST_F(SoftWindowingTest, ConfiguredFailuresAndIcon) {
  HeadlessWindowing failing(headless::WindowingConfig{true, false, true});
  WndClassEx windowClass;
  windowClass.windowProc = RecordingProc;
  windowClass.className = "c";
  EXPECT_FALSE(failing.RegisterClassEx(windowClass));
  EXPECT_NE(failing.LoadIcon(failing.GetModuleHandle(), 1), nullptr);
  EXPECT_EQ(windowing.LoadIcon(windowing.GetModuleHandle(), 1), nullptr);
}

TEST_F(SoftWindowingTest, ShowMaximisedSendsActivationBeforeReturning) {
  const Hwnd window = MakeWindow();
  EXPECT_FALSE(windowing.ShowWindow(window, ShowCommand::ShowMaximized));
  ASSERT_EQ(received.messages.size(), 1u);
  EXPECT_EQ(received.messages[0].message, static_cast<uint32_t>(Wm::Activate));
  EXPECT_EQ(received.messages[0].wParam, static_cast<uintptr_t>(WindowActivation::Active));
  EXPECT_TRUE(received.visibleDuringActivate);
  EXPECT_EQ(windowing.QueuedMessages(), 0u);
  EXPECT_EQ(windowing.ActiveWindow(), window);
  EXPECT_TRUE(windowing.Window(window)->maximized);
  // Already active: showing again sends nothing.
  EXPECT_TRUE(windowing.ShowWindow(window, ShowCommand::ShowMaximized));
  EXPECT_EQ(received.messages.size(), 1u);
}

TEST_F(SoftWindowingTest, HidingTheActiveWindowDeactivatesIt) {
  const Hwnd window = MakeWindow();
  windowing.ShowWindow(window, ShowCommand::ShowMaximized);
  EXPECT_TRUE(windowing.ShowWindow(window, ShowCommand::Hide));
  ASSERT_EQ(received.messages.size(), 2u);
  EXPECT_EQ(received.messages[1].wParam, static_cast<uintptr_t>(WindowActivation::Inactive));
  EXPECT_EQ(windowing.ActiveWindow(), nullptr);
  EXPECT_FALSE(windowing.Window(window)->visible);
}

TEST_F(SoftWindowingTest, PumpDeliversInPostingOrderToTheClassProcedure) {
  const Hwnd window = MakeWindow();
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Paint));
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Close));
  windowing.PostMessage(window, static_cast<uint32_t>(Wm::Quit), 3);
  std::vector<intptr_t> results;
  Msg msg;
  while (windowing.PeekMessage(&msg)) {
    windowing.TranslateMessage(msg);
    results.push_back(windowing.DispatchMessage(msg));
  }
  ASSERT_EQ(received.messages.size(), 3u);
  EXPECT_EQ(received.messages[0].message, static_cast<uint32_t>(Wm::Paint));
  EXPECT_EQ(received.messages[1].message, static_cast<uint32_t>(Wm::Close));
  EXPECT_EQ(received.messages[2].message, static_cast<uint32_t>(Wm::Quit));
  EXPECT_EQ(received.messages[2].wParam, 3u);
  EXPECT_EQ(results[1], static_cast<intptr_t>(Wm::Close) + 1000);
  EXPECT_EQ(recorder.WindowCallCount(soft::WindowCallKind::TranslateMessage), 3u);
  EXPECT_FALSE(windowing.PeekMessage(&msg));
}

TEST_F(SoftWindowingTest, ScriptedActivationIsPostedNotSent) {
  const Hwnd window = MakeWindow();
  windowing.ShowWindow(window, ShowCommand::ShowMaximized);
  received.messages.clear();
  windowing.PostActivation(false);
  EXPECT_TRUE(received.messages.empty());
  EXPECT_EQ(windowing.ActiveWindow(), nullptr);
  windowing.PostActivation(true);
  Msg msg;
  while (windowing.PeekMessage(&msg)) {
    windowing.DispatchMessage(msg);
  }
  ASSERT_EQ(received.messages.size(), 2u);
  EXPECT_EQ(received.messages[0].wParam, static_cast<uintptr_t>(WindowActivation::Inactive));
  EXPECT_EQ(received.messages[1].wParam, static_cast<uintptr_t>(WindowActivation::Active));
  EXPECT_EQ(received.messages[1].hwnd, window);
  EXPECT_EQ(windowing.ActiveWindow(), window);
}

TEST_F(SoftWindowingTest, CursorCounterAndClip) {
  EXPECT_EQ(windowing.ShowCursor(false), -1);
  EXPECT_EQ(windowing.ShowCursor(false), -2);
  EXPECT_EQ(windowing.ShowCursor(true), -1);
  EXPECT_EQ(windowing.CursorCounter(), -1);
  const Rect area{0, 0, 640, 480};
  windowing.ClipCursor(&area);
  ASSERT_TRUE(windowing.CursorClip().has_value());
  EXPECT_EQ(windowing.CursorClip()->right, 640);
  windowing.ClipCursor(nullptr);
  EXPECT_FALSE(windowing.CursorClip().has_value());
  EXPECT_EQ(recorder.WindowCallCount(soft::WindowCallKind::ClipCursor), 2u);
}

TEST_F(SoftWindowingTest, DefaultProcedureAndPaintAreSeenOnlyByAnAttachedObserver) {
  const Hwnd window = MakeWindow();
  const size_t delivered = recorder.DeliveredMessages().size();
  windowing.SetObserver(nullptr);
  windowing.DefWindowProc(window, static_cast<uint32_t>(Wm::MouseMove), 1, 2);
  windowing.ShowWindow(window, ShowCommand::ShowMaximized);
  windowing.BeginPaint(window);
  windowing.SetObserver(&recorder);
  EXPECT_EQ(windowing.DefWindowProc(window, static_cast<uint32_t>(Wm::MouseMove), 1, 3), 0);
  EXPECT_EQ(recorder.DeliveredMessages().size(), delivered);
  ASSERT_EQ(recorder.DefWindowProcMessages().size(), 1u);
  EXPECT_EQ(recorder.DefWindowProcMessages()[0].lParam, 3);
  windowing.BeginPaint(window);
  windowing.EndPaint(window);
  EXPECT_EQ(recorder.WindowCallCount(soft::WindowCallKind::BeginPaint), 1u);
  EXPECT_EQ(recorder.WindowCallCount(soft::WindowCallKind::EndPaint), 1u);
}

}  // namespace
}  // namespace drawing::platform::testing
